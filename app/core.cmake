# Portable pieces of the application core.
add_library(app_core STATIC ${CMAKE_CURRENT_SOURCE_DIR}/IniPath.cpp)
target_include_directories(app_core PUBLIC ${CMAKE_SOURCE_DIR})
