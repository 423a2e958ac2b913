# Instrumental seismic intensity of trigger events over our own real transform.
add_library(intensity_core STATIC ${CMAKE_CURRENT_LIST_DIR}/SeismicIntensity.cpp)
target_include_directories(intensity_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(intensity_core PUBLIC fft_core)
