# The maintenance lists every back-office panel edits through (logic only).
foreach(file choices list_definition maintenance_list)
    list(APPEND BACKOFFICE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
