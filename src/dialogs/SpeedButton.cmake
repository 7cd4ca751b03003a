# qv_speedbutton: the modal speed button and the drawing of its face.
add_library(qv_speedbutton STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ModalButtons.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ModalSpeedButton.cpp)
target_link_libraries(qv_speedbutton PUBLIC qv_ui qv_png qv_common gdi32 user32)
