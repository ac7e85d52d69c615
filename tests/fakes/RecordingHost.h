// A recording setup-screen host: every slot of both host tables appends one
// line (operation, arguments, result) to a trace and returns a scripted or
// deterministic value. Tests compare whole traces.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "entry/ThemeProvider.h"

typedef std::vector<std::string> Trace;

class RecordingHost {
 public:
  RecordingHost();
  ~RecordingHost();
  RecordingHost(const RecordingHost &) = delete;
  RecordingHost &operator=(const RecordingHost &) = delete;

  // Writes the host's three pointers into the record, as a real host does.
  void AttachTo(THEME_PROVIDER_PROTOCOL *Record);

  // The next calls of Operation return these values, in order; after them
  // the operation's deterministic default applies again.
  void Script(const std::string &Operation, std::initializer_list<UINT64> Results);

  // Host image ids that GetImage resolves; GetImageSlot makes them on demand.
  THEME_IMAGE &Image(UINT32 HostImageId);

  const Trace &Calls() const { return Calls_; }
  void ClearCalls() { Calls_.clear(); }

  HOST_UI_TABLE Ui;
  HOST_SERVICES_TABLE Services;
  THEME_IMAGE ImageTable[169];  // entry n is theme image n; entry 0 unused

  // What the fake operations use; public so the operations can reach them.
  static RecordingHost &Active();
  bool TakeScripted(const char *Operation, UINT64 *Result);
  void Record(std::string Line) { Calls_.push_back(std::move(Line)); }
  THEME_IMAGE *FindImage(UINT32 HostImageId);

 private:
  Trace Calls_;
  std::map<std::string, std::deque<UINT64>> Scripted_;
  std::map<UINT32, THEME_IMAGE> Images_;
};
