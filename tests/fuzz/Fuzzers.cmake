# The fuzz targets, one line each:
#   add_theme_fuzzer(<Name> SECONDS <bounded run time> [TIMEOUT <seconds per input, default 5>]
#                    SOURCES <files under tests/>...)
# Every target links the driver's sources (instrumented), the fuzz host
# (fuzz/FuzzHost.h) and the simulated machine (fakes/SimulatedMachine.h);
# CMakeLists.txt here makes an executable of each line and a ctest that runs
# it for the given seconds.
add_theme_fuzzer(StyleObjectFuzzer SECONDS 20 SOURCES fuzz/StyleObjectFuzzer.cpp)
# The platform library on the simulated machine: the memory-log writer on
# any header and length, and set-up on any HOB list. Making room moves
# 12 MiB byte by byte, a tenth of a second or so; the writer's target keeps
# such inputs to a small share of its run.
add_theme_fuzzer(MemoryLogWriteFuzzer SECONDS 10 SOURCES fuzz/MemoryLogWriteFuzz.cpp)
add_theme_fuzzer(HobWalkFuzzer SECONDS 10 SOURCES fuzz/HobWalkFuzz.cpp)
