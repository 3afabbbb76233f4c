# Builds build/game/data/data.pk from the text sources in assets/ (and, once the
# art generator exists, the pictures it draws). Everything is staged into one
# folder first so the archive is packed from a single, sorted tree.
set(BREVORA_STAGE_DIR ${CMAKE_BINARY_DIR}/stage)
file(GLOB_RECURSE BREVORA_ASSET_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*)

set(BREVORA_DATA_PK ${BREVORA_GAME_DIR}/data/data.pk)
add_custom_command(
  OUTPUT ${BREVORA_DATA_PK}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${BREVORA_STAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/assets ${BREVORA_STAGE_DIR}
  COMMAND $<TARGET_FILE:brevora-pack> create ${BREVORA_DATA_PK} ${BREVORA_STAGE_DIR}
  DEPENDS brevora-pack ${BREVORA_ASSET_FILES}
  COMMENT "Packing the data set into data/data.pk"
  VERBATIM)
add_custom_target(dataset ALL DEPENDS ${BREVORA_DATA_PK})
