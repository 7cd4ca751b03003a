# qv_chrome: the form shadow and the PNG image buttons.
add_library(qv_chrome STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ShadowImage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImageSelection.cpp)
target_link_libraries(qv_chrome PUBLIC qv_common gdi32 user32 msimg32)
# The controls themselves are built on the window toolkit and the PNG unit.
if(TARGET qv_ui AND TARGET qv_png)
    target_sources(qv_chrome PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/FormShadow.cpp
        ${CMAKE_CURRENT_LIST_DIR}/PngImageButton.cpp)
    target_link_libraries(qv_chrome PUBLIC qv_ui qv_png)
endif()
