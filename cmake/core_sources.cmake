# Portable sources (no <windows.h>), shared by the program and the native tests.
set(KEPLIN_CORE_SOURCES
  ${CMAKE_SOURCE_DIR}/app/command_line.cpp
  ${CMAKE_SOURCE_DIR}/app/help_files.cpp
  ${CMAKE_SOURCE_DIR}/files/backup_name.cpp
  ${CMAKE_SOURCE_DIR}/files/chosen_file.cpp
  ${CMAKE_SOURCE_DIR}/files/undo_record.cpp
  ${CMAKE_SOURCE_DIR}/ini/line_order.cpp
  ${CMAKE_SOURCE_DIR}/ini/profile_writer.cpp
  ${CMAKE_SOURCE_DIR}/ini/scanner.cpp
  ${CMAKE_SOURCE_DIR}/ini/section_name.cpp
  ${CMAKE_SOURCE_DIR}/print/page_layout.cpp
  ${CMAKE_SOURCE_DIR}/search/search_walk.cpp
  ${CMAKE_SOURCE_DIR}/search/text_match.cpp
  ${CMAKE_SOURCE_DIR}/view/key_line.cpp
  ${CMAKE_SOURCE_DIR}/view/listed_lines.cpp
)
