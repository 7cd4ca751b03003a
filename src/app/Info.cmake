# qv_infodialog: the download-failure dialog (ShowInfo and its form Tfrm_Info).
#
# The artwork's resources must be linked into the executable itself (qv_artwork).
add_library(qv_infodialog STATIC
    ${CMAKE_CURRENT_LIST_DIR}/f_Info.cpp
    ${CMAKE_CURRENT_LIST_DIR}/f_InfoLayout.cpp)
target_include_directories(qv_infodialog PUBLIC ${PROJECT_SOURCE_DIR}/src)
# The artwork's ids and loader come from res/.
target_include_directories(qv_infodialog PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(qv_infodialog PUBLIC qv_ui qv_chrome qv_png)
