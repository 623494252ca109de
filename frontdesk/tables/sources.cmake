# Table service: the board, opening a table and the table work screen.
foreach(file table_state board_tables table_board table_refusals opening table_work)
    list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
foreach(file state_icons graphic_board board_views board_column board_screen register_screen work_screen
             table_desk)
    list(APPEND FRONTDESK_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
