# qv_chrome: the form shadow and the PNG image buttons.
add_library(qv_chrome STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ShadowImage.cpp)
target_link_libraries(qv_chrome PUBLIC qv_common)
target_link_libraries(qv_chrome PUBLIC gdi32 user32 msimg32)
