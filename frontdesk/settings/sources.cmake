# The settings screen: cashier settings and the bill layout.
list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_draft.cpp)
foreach(file settings_screen bill_layout_panel)
    list(APPEND FRONTDESK_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
