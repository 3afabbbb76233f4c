# Builds build/game/data/data.pk: the text sources in assets/, every picture
# drawn by brevora-mkdata and the sound effects it synthesises. Everything is
# staged into one folder first so the archive is packed from a single, sorted
# tree; the same sources give the same bytes.
set(BREVORA_STAGE_DIR ${CMAKE_BINARY_DIR}/stage)
file(GLOB_RECURSE BREVORA_ASSET_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*)

# Lettering uses the DejaVu fonts (Debian: fonts-dejavu-core).
find_path(BREVORA_DEJAVU_DIR DejaVuSans-Bold.ttf
  PATHS /usr/share/fonts/truetype/dejavu /usr/share/fonts/dejavu /usr/share/fonts/TTF
  REQUIRED)
set(BREVORA_FONT_FILES
  ${BREVORA_DEJAVU_DIR}/DejaVuSans-Bold.ttf
  ${BREVORA_DEJAVU_DIR}/DejaVuSans.ttf
  ${BREVORA_DEJAVU_DIR}/DejaVuSansCondensed-Bold.ttf)

set(BREVORA_DATA_PK ${BREVORA_GAME_DIR}/data/data.pk)
add_custom_command(
  OUTPUT ${BREVORA_DATA_PK}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${BREVORA_STAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/assets ${BREVORA_STAGE_DIR}
  COMMAND $<TARGET_FILE:brevora-mkdata> --assets ${CMAKE_SOURCE_DIR}/assets
          --out ${BREVORA_STAGE_DIR} --fonts ${BREVORA_DEJAVU_DIR}
  COMMAND $<TARGET_FILE:brevora-pack> create ${BREVORA_DATA_PK} ${BREVORA_STAGE_DIR}
  DEPENDS brevora-pack brevora-mkdata ${BREVORA_ASSET_FILES} ${BREVORA_FONT_FILES}
  COMMENT "Drawing the pictures, synthesising the sounds and packing the data set into data/data.pk"
  VERBATIM)
add_custom_target(dataset ALL DEPENDS ${BREVORA_DATA_PK})
