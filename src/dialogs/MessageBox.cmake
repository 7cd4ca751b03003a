# qv_msgbox: the program's message box (MsgBox and its form Tfrm_MsgDlg).
#
# The artwork's resources must be linked into the executable itself (qv_artwork), which every
# program using MsgBox does.
add_library(qv_msgbox STATIC
    ${CMAKE_CURRENT_LIST_DIR}/MsgDlgLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MsgBox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/f_MsgDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/f_MsgDlgLayout.cpp)
target_include_directories(qv_msgbox PUBLIC ${PROJECT_SOURCE_DIR}/src)
# The artwork's ids and loader come from res/.
target_include_directories(qv_msgbox PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(qv_msgbox PUBLIC qv_common qv_ui qv_chrome qv_speedbutton qv_png)
