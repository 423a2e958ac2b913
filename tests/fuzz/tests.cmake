# libFuzzer targets of the importers, built only in a clang tree configured with QUORVEL_FUZZ
# (tools/fuzz.sh makes and runs it; its flags instrument the libraries too).
option(QUORVEL_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(QUORVEL_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND NOT WIN32)
  foreach(name CsvImport SdImport ReadDouble)
    add_executable(fuzz_${name} ${CMAKE_CURRENT_LIST_DIR}/${name}Fuzz.cpp)
    target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(fuzz_${name} PRIVATE import_core)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
endif()
