# Checkout: payments, the settle step and its transaction, the printed bill, and pnl_Bill.
foreach(file payments settle_step column_fit checkout bill_print)
    list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
foreach(file checkout_screen)
    list(APPEND FRONTDESK_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
