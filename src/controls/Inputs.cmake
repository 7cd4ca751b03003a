# qv_inputs: the input control family (margin-aware base, edit base, flat edit, flat radio button)
# with its colour, input-style and layout helpers.
add_library(qv_inputs STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ColorHelpers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/InputStyles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QelCustomControl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QelCustomEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QelMargins.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QelWinControl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RadioLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SideLines.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XPDorvexEditEx.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XPDorvexRadioButton.cpp)
target_link_libraries(qv_inputs PUBLIC qv_ui qv_common gdi32 user32)
