# Table service: the board, opening a table and the table work screen.
foreach(file table_state board_tables table_board table_refusals opening table_work)
    list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
