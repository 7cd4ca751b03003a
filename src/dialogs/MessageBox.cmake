# qv_msgbox: the program's message box (MsgBox and its form Tfrm_MsgDlg).
add_library(qv_msgbox STATIC
    ${CMAKE_CURRENT_LIST_DIR}/MsgDlgLayout.cpp
)
target_include_directories(qv_msgbox PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(qv_msgbox PUBLIC qv_common)
