# Core: parses, formats, validates and decides; includes no Windows header.
set(TSLY_CORE_SOURCES
    src/core/HResultNames.cpp
    src/core/Log.cpp
    src/core/LogFilter.cpp
    src/core/LogLine.cpp
    src/core/LogThrottle.cpp
    src/core/LogWriter.cpp
    src/core/ThreadHelpers.cpp
    src/core/Utf.cpp
    src/app/BuildInfo.cpp
    src/app/CommandLine.cpp
    src/app/ProcessMode.cpp
    src/app/StartupSequence.cpp
)

# Shell: the Win32 side, built only for Windows.
set(TSLY_SHELL_SOURCES
    src/core/CrashHandler.cpp
    src/core/HResultText.cpp
    src/core/TextConvert.cpp
    src/core/Win32LogPlatform.cpp
    src/app/PortProbe.cpp
    src/app/Win32StartupPlatform.cpp
    src/ui/MainWindow.cpp
)
