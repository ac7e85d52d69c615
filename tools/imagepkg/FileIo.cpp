#include "tools/imagepkg/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace imagepkg {

std::optional<Bytes> ReadWholeFile(const std::string &Path, std::string &Error) {
  std::error_code Code;
  if (std::filesystem::is_directory(Path, Code)) {
    Error = "is a directory";
    return std::nullopt;
  }
  errno = 0;
  std::ifstream In(Path, std::ios::binary);
  if (!In) {
    Error = errno != 0 ? std::strerror(errno) : "cannot open";
    return std::nullopt;
  }
  Bytes Data((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  if (In.bad()) {
    Error = "read error";
    return std::nullopt;
  }
  return Data;
}

bool WriteFileAtomically(const std::string &Path, ByteView Data, std::string &Error) {
  const std::string Temporary = Path + ".partial";
  {
    std::ofstream Out(Temporary, std::ios::binary | std::ios::trunc);
    if (!Out) {
      Error = std::string("cannot create ") + Temporary + ": " + std::strerror(errno);
      return false;
    }
    Out.write(reinterpret_cast<const char *>(Data.data()), static_cast<std::streamsize>(Data.size()));
    Out.close();
    if (!Out) {
      Error = "cannot write " + Temporary;
      std::remove(Temporary.c_str());
      return false;
    }
  }
  std::error_code Code;
  std::filesystem::rename(Temporary, Path, Code);
  if (Code) {
    Error = "cannot rename " + Temporary + " to " + Path + ": " + Code.message();
    std::remove(Temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace imagepkg
