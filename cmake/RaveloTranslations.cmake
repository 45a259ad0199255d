# Message catalogues. The Chinese texts in the code and the layouts are the source texts; every
# po/<lang>.po listed in po/LINGUAS is compiled to <build>/share/locale/<lang>/LC_MESSAGES/ravelo.mo,
# where the build tree's programs find it, and installed to <prefix>/share/locale.
#
#   cmake --build build --target ravelo-po-update
# extracts the texts again (every .cpp/.h under src/ and every layout under skin/xmls/) into
# build/po/ravelo.pot and merges them into each po/<lang>.po; then translate the new and fuzzy
# entries. The test "translations.complete" fails while any text lacks a translation.

find_program(RAVELO_XGETTEXT xgettext REQUIRED)
find_program(RAVELO_MSGFMT msgfmt REQUIRED)
find_program(RAVELO_MSGMERGE msgmerge REQUIRED)
find_program(RAVELO_MSGCAT msgcat REQUIRED)
find_program(RAVELO_MSGATTRIB msgattrib REQUIRED)

set(RAVELO_PO_DIR ${PROJECT_SOURCE_DIR}/po)
set(RAVELO_LOCALE_DIR ${CMAKE_BINARY_DIR}/share/locale)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${RAVELO_PO_DIR}/LINGUAS)
file(STRINGS ${RAVELO_PO_DIR}/LINGUAS RAVELO_LINGUAS REGEX "^[^#]")

set(RAVELO_MO_FILES)
foreach(lang IN LISTS RAVELO_LINGUAS)
  set(po ${RAVELO_PO_DIR}/${lang}.po)
  set(mo ${RAVELO_LOCALE_DIR}/${lang}/LC_MESSAGES/ravelo.mo)
  add_custom_command(
    OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${RAVELO_LOCALE_DIR}/${lang}/LC_MESSAGES
    COMMAND ${RAVELO_MSGFMT} --check -o ${mo} ${po}
    DEPENDS ${po}
    COMMENT "Compiling the ${lang} message catalogue"
    VERBATIM)
  list(APPEND RAVELO_MO_FILES ${mo})
  install(FILES ${mo} DESTINATION share/locale/${lang}/LC_MESSAGES)
endforeach()
add_custom_target(ravelo-translations ALL DEPENDS ${RAVELO_MO_FILES})
# The programs and tests of the build tree read the catalogues from it.
foreach(target ravelo ravelo-cli windowtour)
  if(TARGET ${target})
    add_dependencies(${target} ravelo-translations)
  endif()
endforeach()

# Extraction, and the completeness check, both run cmake/RaveloTexts.cmake so that they agree on
# what counts as a text.
set(RAVELO_POT ${CMAKE_BINARY_DIR}/po/ravelo.pot)
set(RAVELO_TEXT_TOOLS
    -DXGETTEXT=${RAVELO_XGETTEXT} -DMSGCAT=${RAVELO_MSGCAT} -DMSGMERGE=${RAVELO_MSGMERGE}
    -DMSGFMT=${RAVELO_MSGFMT} -DMSGATTRIB=${RAVELO_MSGATTRIB} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
    -DPROJECT_VERSION=${PROJECT_VERSION})
add_custom_target(ravelo-pot
  COMMAND ${CMAKE_COMMAND} ${RAVELO_TEXT_TOOLS} -DPOT=${RAVELO_POT} -DMODE=extract
          -P ${PROJECT_SOURCE_DIR}/cmake/RaveloTexts.cmake
  COMMENT "Extracting the texts into ${RAVELO_POT}"
  VERBATIM)
add_custom_target(ravelo-po-update
  COMMAND ${CMAKE_COMMAND} ${RAVELO_TEXT_TOOLS} -DPOT=${RAVELO_POT} -DMODE=update
          "-DLINGUAS=${RAVELO_LINGUAS}" -P ${PROJECT_SOURCE_DIR}/cmake/RaveloTexts.cmake
  COMMENT "Merging the extracted texts into po/*.po"
  VERBATIM)

if(RAVELO_BUILD_TESTS)
  add_test(NAME translations.complete
    COMMAND ${CMAKE_COMMAND} ${RAVELO_TEXT_TOOLS} -DPOT=${CMAKE_BINARY_DIR}/po/check/ravelo.pot
            -DMODE=check "-DLINGUAS=${RAVELO_LINGUAS}"
            -P ${PROJECT_SOURCE_DIR}/cmake/RaveloTexts.cmake)
  set_tests_properties(translations.complete PROPERTIES LABELS translations)
endif()
