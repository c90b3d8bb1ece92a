# Core: every src/<area>/*.cpp parses, formats, validates or decides and includes no Windows header.
# Shell: src/<area>/win/*.cpp is the Win32 side, built only for Windows. The entry point is separate.
file(GLOB TSLY_CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*/*.cpp)
file(GLOB TSLY_SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*/win/*.cpp)
list(REMOVE_ITEM TSLY_SHELL_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/src/app/win/WinMain.cpp)
# The exported HID and monitor functions: objects of their own (see CMakeLists.txt).
list(REMOVE_ITEM TSLY_SHELL_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/src/input/win/HidExports.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/src/input/win/MonitorExports.cpp)
# Wardlet's Win32 side is its own library, so Tessaly's shell holds nothing of the service.
file(GLOB TSLY_WARDLET_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/service/win/*.cpp)
list(REMOVE_ITEM TSLY_WARDLET_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/src/service/win/WardletMain.cpp)
list(REMOVE_ITEM TSLY_SHELL_SOURCES ${TSLY_WARDLET_SOURCES} ${CMAKE_CURRENT_SOURCE_DIR}/src/service/win/WardletMain.cpp)
