# qv_msgbox: the program's message box (MsgBox and its form Tfrm_MsgDlg).
#
# The form needs the toolkit, the form shadow, the speed buttons and the artwork; until all of
# them are in the tree only the layout rules are built. The artwork's resources must be linked
# into the executable itself (qv_artwork), which every program using MsgBox does.
add_library(qv_msgbox STATIC ${CMAKE_CURRENT_LIST_DIR}/MsgDlgLayout.cpp)
target_include_directories(qv_msgbox PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(qv_msgbox PUBLIC qv_common)

if(TARGET qv_ui AND TARGET qv_chrome AND TARGET qv_speedbutton
   AND EXISTS ${PROJECT_SOURCE_DIR}/res/CMakeLists.txt)
    target_sources(qv_msgbox PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/MsgBox.cpp
        ${CMAKE_CURRENT_LIST_DIR}/f_MsgDlg.cpp
        ${CMAKE_CURRENT_LIST_DIR}/f_MsgDlgLayout.cpp)
    # The artwork's ids and loader come from res/; the executable links qv_artwork itself.
    target_include_directories(qv_msgbox PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(qv_msgbox PUBLIC qv_ui qv_chrome qv_speedbutton qv_png)
    set(QUORVANE_MSGBOX_FORM ON CACHE INTERNAL "The message box's form is built")
else()
    set(QUORVANE_MSGBOX_FORM OFF CACHE INTERNAL "The message box's form is built")
endif()
