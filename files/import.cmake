# Import of CSV and SD-card files: the portable readers, and the Win32 file, its errors and the
# file dialog.
add_library(import_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/CsvImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileErrorText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImportFields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImportTexts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LineReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SdImport.cpp)
target_include_directories(import_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(import_core PUBLIC device_core)

if(WIN32)
  add_library(import_win STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ChooseImportFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Win32ImportFile.cpp)
  target_link_libraries(import_win PUBLIC import_core config_core comdlg32 shlwapi)
  target_link_libraries(Quorvel PRIVATE import_win)
endif()
