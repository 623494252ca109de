# A table's life after opening: transfer, merge, clear, resume and reverse settlement.
foreach(file held_table table_moves reopening clearing reverse_settlement)
    list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
foreach(file move_panel reagain_screen)
    list(APPEND FRONTDESK_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
