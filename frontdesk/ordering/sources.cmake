# Ordering: staging, commit, price adjustment, new items and the kitchen ticket.
foreach(file order_menu order_entry order_staging order_commit menu_changes output_printers kitchen_ticket)
    list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
foreach(file item_grid_panel menu_change_panel ordering_screen output_printer_dialog)
    list(APPEND FRONTDESK_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
