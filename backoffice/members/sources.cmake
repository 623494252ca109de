# Members, their cards and top-ups; credit guests and their repayments.
foreach(file balance member_lists credit_lists find_record member_navigation)
    list(APPEND BACKOFFICE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
list(APPEND BACKOFFICE_UI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/find_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/member_screen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/credit_screen.cpp
)
