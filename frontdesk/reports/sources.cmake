# Reports: the analysis and query reports of the front desk, read from the history.
foreach(file query_basis query_reports bill_detail)
    list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
