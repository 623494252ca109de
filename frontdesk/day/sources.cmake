# Day operations: the day panel, current statistics and the shift handover.
foreach(file day_operations current_statistics shift_handover handover_report)
    list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
foreach(file day_panel statistics_screen handover_screen)
    list(APPEND FRONTDESK_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
