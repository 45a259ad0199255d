# cmake -P script behind the ravelo-pot and ravelo-po-update targets and the translations.complete
# test. MODE=extract writes POT from the sources as they are now; MODE=update also merges POT into
# every po/<lang>.po of LINGUAS; MODE=check fails when a catalogue does not compile or a text of
# the sources has no finished translation in it (the po files are left untouched).

cmake_minimum_required(VERSION 3.22)

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${SOURCE_DIR}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${ARGV0} failed (${code}):\n${out}${err}")
  endif()
  set(run_stderr "${err}" PARENT_SCOPE)
endfunction()

function(extract_texts pot)
  get_filename_component(dir ${pot} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  # Relative paths keep the references in the catalogues independent of where the tree lives.
  file(GLOB_RECURSE code RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h)
  file(GLOB layouts RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/skin/xmls/*.xml)
  list(SORT code)
  list(SORT layouts)
  set(common --from-code=UTF-8 --package-name=Ravelo --package-version=${PROJECT_VERSION}
             --add-comments=TRANSLATORS: --sort-by-file --add-location=file)
  run(${XGETTEXT} ${common} -L C++ -k -kTr -kTrNoop -o ${pot}.code ${code})
  run(${XGETTEXT} ${common} --its=po/ravelo-layout.its -o ${pot}.layouts ${layouts})
  run(${MSGCAT} --use-first -o ${pot} ${pot}.code ${pot}.layouts)
  file(REMOVE ${pot}.code ${pot}.layouts)
endfunction()

extract_texts(${POT})

if(MODE STREQUAL "update")
  foreach(lang IN LISTS LINGUAS)
    run(${MSGMERGE} --quiet --update --backup=none --previous --add-location=file po/${lang}.po ${POT})
    message(STATUS "po/${lang}.po merged; translate its new and fuzzy entries")
  endforeach()
elseif(MODE STREQUAL "check")
  set(failed "")
  foreach(lang IN LISTS LINGUAS)
    run(${MSGFMT} --check -o /dev/null po/${lang}.po)
    set(merged ${POT}.${lang}.po)
    run(${MSGMERGE} --quiet --no-fuzzy-matching -o ${merged} po/${lang}.po ${POT})
    run(${MSGFMT} --check --statistics -o /dev/null ${merged})
    if(run_stderr MATCHES "untranslated|fuzzy")
      execute_process(COMMAND ${MSGATTRIB} --untranslated --no-obsolete ${merged}
                      OUTPUT_VARIABLE untranslated)
      execute_process(COMMAND ${MSGATTRIB} --only-fuzzy --no-obsolete ${merged}
                      OUTPUT_VARIABLE fuzzy)
      string(APPEND failed "po/${lang}.po: ${run_stderr}${untranslated}${fuzzy}\n")
    endif()
  endforeach()
  if(failed)
    message(FATAL_ERROR "Texts without a finished translation (run the ravelo-po-update target, "
                        "then translate them):\n${failed}")
  endif()
endif()
