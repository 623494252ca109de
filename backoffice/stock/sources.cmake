# The inventory: item stock, stock adjustment, stock bills and posting, partners and their
# payments, the stock queries, the stock take and their printed documents.
foreach(file stock_lists stock_posting stock_adjustment stock_queries stock_documents stock_grids stock_navigation)
    list(APPEND BACKOFFICE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
list(APPEND BACKOFFICE_UI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/stock_screen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/partner_screen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stock_query_screen.cpp
)
