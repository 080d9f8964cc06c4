# The translations: po/<language>.po, one per language beside English, made
# from the template po/veltrano.pot that scripts/update-pot.sh collects from
# the code. The build checks each with gettext's own tools and compiles it
# into ${CMAKE_BINARY_DIR}/res/<code>.mo, which veltrano.rc puts into the
# exe (catalogues.rc, written here). A text of the template missing or
# untranslated in a .po, a fuzzy one, or placeholders that differ from the
# English fail the build.
#
#   include(cmake/Translations.cmake)   -> target veltrano_catalogues

find_program(VELTRANO_MSGFMT msgfmt NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_program(VELTRANO_MSGCMP msgcmp NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# A developer whose new texts the translators do not have yet builds with
# this OFF; every other build holds the translations to the template.
option(VELTRANO_TRANSLATIONS_COMPLETE "Fail the build on a text missing from a translation" ON)

# The gettext file name of each language the program speaks (i18n/languages.cpp).
set(VELTRANO_TRANSLATIONS de fr es it pt_BR nl pl ru tr ja zh_CN ko)

set(VELTRANO_POT ${PROJECT_SOURCE_DIR}/po/veltrano.pot)
set(VELTRANO_CATALOGUE_DIR ${CMAKE_BINARY_DIR}/res)
set(VELTRANO_CATALOGUES)
set(catalogues_rc "// Written by cmake/Translations.cmake: one catalogue per language.\n")
foreach(language IN LISTS VELTRANO_TRANSLATIONS)
    set(po ${PROJECT_SOURCE_DIR}/po/${language}.po)
    set(mo ${VELTRANO_CATALOGUE_DIR}/${language}.mo)
    string(TOUPPER ${language} resource)
    set(compare)
    if(VELTRANO_TRANSLATIONS_COMPLETE)
        set(compare COMMAND ${VELTRANO_MSGCMP} ${po} ${VELTRANO_POT})
    endif()
    add_custom_command(
        OUTPUT ${mo}
        ${compare}
        COMMAND ${VELTRANO_MSGFMT} --check --output-file=${mo} ${po}
        DEPENDS ${po} ${VELTRANO_POT}
        COMMENT "Checking and compiling the ${language} translation"
        VERBATIM)
    list(APPEND VELTRANO_CATALOGUES ${mo})
    string(APPEND catalogues_rc "CATALOGUE_${resource} RCDATA \"${language}.mo\"\n")
endforeach()
file(MAKE_DIRECTORY ${VELTRANO_CATALOGUE_DIR})
file(CONFIGURE OUTPUT ${VELTRANO_CATALOGUE_DIR}/catalogues.rc CONTENT "${catalogues_rc}")
add_custom_target(veltrano_catalogues ALL DEPENDS ${VELTRANO_CATALOGUES})

# The template must hold exactly the texts the code has today.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
  add_test(NAME translation_template_is_current
      COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/update-pot.sh --check)
endif()
