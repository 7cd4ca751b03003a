# qv_infodialog: the download-failure dialog (ShowInfo and its form Tfrm_Info).
#
# Built once the toolkit, the form shadow, the image buttons and the artwork are in the tree. The
# artwork's resources must be linked into the executable itself (qv_artwork).
if(TARGET qv_ui AND TARGET qv_chrome AND EXISTS ${PROJECT_SOURCE_DIR}/res/CMakeLists.txt)
    add_library(qv_infodialog STATIC
        ${CMAKE_CURRENT_LIST_DIR}/f_Info.cpp
        ${CMAKE_CURRENT_LIST_DIR}/f_InfoLayout.cpp)
    target_include_directories(qv_infodialog PUBLIC ${PROJECT_SOURCE_DIR}/src)
    # The artwork's ids and loader come from res/; the executable links qv_artwork itself.
    target_include_directories(qv_infodialog PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(qv_infodialog PUBLIC qv_ui qv_chrome qv_png)
endif()
