# qv_chrome: the form shadow and the PNG image buttons.
add_library(qv_chrome STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ShadowImage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImageSelection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FormShadow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PngImageButton.cpp)
target_link_libraries(qv_chrome PUBLIC qv_ui qv_png qv_common gdi32 user32 msimg32)
