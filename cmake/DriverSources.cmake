# The driver's sources, compiled both into the PE32+ driver and natively into
# the library that the host tests link.
set(THEME_DRIVER_SOURCES
  data/ThemeColors.cpp
  data/ThemeQueries.cpp
  data/ThemeRects.cpp
  entry/RegisterThemeProvider.cpp
  entry/ThemeDriverEntry.cpp
  entry/ThemeProviderRecord.cpp
  platform/DebugSettings.cpp
  platform/DiagChannels.cpp
  platform/FatalCode.cpp
  platform/HeapRecords.cpp
  platform/MemoryLog.cpp
  platform/PlatformLibrary.cpp
  screen/CustomItem.cpp
  screen/EventHook.cpp
  screen/MainScreen.cpp
  screen/ThemeNotify.cpp
  style/StyleByClass.cpp
  style/StyleById.cpp
  style/StyleByPartCode.cpp
  style/StyleCalls.cpp
  style/StyleObject.cpp
)

# Only in the driver: symbols that a hosted build takes from its C library,
# and the processor primitives as real instructions (the host tests link a
# simulated machine in their place).
set(THEME_DRIVER_ONLY_SOURCES
  platform/CompilerSupport.cpp
  platform/CpuX64.cpp
)
