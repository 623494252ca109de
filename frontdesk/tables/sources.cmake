# Table service: the board, opening a table and the table work screen.
foreach(file table_state open_bill board_tables table_board opening table_work)
    list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
foreach(file state_icons about_panel login_panel graphic_board_panel board_views_panel board_column_panel board_screen register_screen
             work_screen)
    list(APPEND FRONTDESK_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
