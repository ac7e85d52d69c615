# The sheet kept in docs/ must be what theme-preview draws from the current
# sources: the facts and the drawing's pixels, compared by the tool itself.
# usage: cmake -DPREVIEW=theme-preview -DCOMMITTED=docs/theme-preview.json
#              -DDRAWN=build/preview/theme-preview.json -P CheckCommittedSheet.cmake
if(NOT EXISTS ${COMMITTED})
  message(FATAL_ERROR "${COMMITTED} is missing; draw it with tools/refresh-preview-sheet and commit it")
endif()
get_filename_component(drawn_dir ${DRAWN} DIRECTORY)
execute_process(
  COMMAND ${PREVIEW} --compare ${COMMITTED} ${DRAWN} --out ${drawn_dir}/committed-vs-drawn.png
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The committed preview sheet (docs/theme-preview.png and .json) no longer matches what "
                      "theme-preview draws from the current sources; the differences are listed above and drawn in "
                      "${drawn_dir}/committed-vs-drawn.png. Refresh it with tools/refresh-preview-sheet and commit "
                      "both files.")
endif()
