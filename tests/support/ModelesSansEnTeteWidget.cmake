# Models include no Qt Widgets header.
#
#   cmake -DKV_QT_WIDGETS_DIR=<QtWidgets include folder> [-DKV_RACINES=<root>:<root>...]
#         -P ModelesSansEnTeteWidget.cmake FOLDER...
#
# A model is any .h or .cpp file below the folders given whose name does not
# start with "Vue" or "CQTDispatcher" and does not contain "_QT": views and
# controllers own the widgets, models only name them (class QWidget;).
# A model fails the check when one of its includes is
#   - a Qt Widgets header: <QtWidgets>, <QtWidgets/...>, or any header the
#     QtWidgets include folder holds (<QWidget>, <QDialog>, <qmenubar.h>...),
#   - the dispatcher header (CQTDispatcher.h),
#   - a header of the project that includes one of these, directly or
#     through its own includes ("name" includes are looked for next to the
#     including file, then in the roots of KV_RACINES).
# Every such include is listed as file:line with the chain that brings the
# widgets in, and the script ends in error.

cmake_minimum_required(VERSION 3.16)

if(NOT KV_QT_WIDGETS_DIR OR NOT EXISTS "${KV_QT_WIDGETS_DIR}/QWidget")
  message(FATAL_ERROR "KV_QT_WIDGETS_DIR='${KV_QT_WIDGETS_DIR}' is not the QtWidgets include folder (no QWidget there)")
endif()
file(GLOB _entetes_widgets RELATIVE "${KV_QT_WIDGETS_DIR}" "${KV_QT_WIDGETS_DIR}/*")
string(REPLACE ":" ";" _racines "${KV_RACINES}")

# The folders: the arguments after the script's own name.
set(_dossiers "")
math(EXPR _dernier "${CMAKE_ARGC} - 1")
foreach(_i RANGE 1 ${_dernier})
  if(DEFINED _index_script AND _i GREATER _index_script)
    list(APPEND _dossiers "${CMAKE_ARGV${_i}}")
  elseif(NOT DEFINED _index_script AND CMAKE_ARGV${_i} STREQUAL "-P")
    math(EXPR _index_script "${_i} + 1")
  endif()
endforeach()
if(NOT _dossiers)
  message(FATAL_ERROR "no folder to check: give them after the script's name")
endif()

# The lines of a file, one list item each. The characters that would split
# or join items (";", "[", "]", "\") are replaced first; include lines keep
# their meaning.
function(kv_lignes fichier sortie)
  file(READ "${fichier}" contenu)
  string(REPLACE "\\" "/" contenu "${contenu}")
  string(REPLACE ";" "," contenu "${contenu}")
  string(REPLACE "[" "(" contenu "${contenu}")
  string(REPLACE "]" ")" contenu "${contenu}")
  string(REPLACE "\n" ";" contenu "${contenu}")
  set(${sortie} "${contenu}" PARENT_SCOPE)
endfunction()

# Why an include written in fichier brings the widget layer in; empty when
# it does not. delimiteur is "<" or the double quote.
function(kv_faute_inclusion inclus delimiteur fichier sortie)
  get_filename_component(nom "${inclus}" NAME)
  set(raison "")
  if(inclus MATCHES "^QtWidgets(/|$)" OR (NOT inclus MATCHES "/" AND inclus IN_LIST _entetes_widgets))
    set(raison "<${inclus}> is a Qt Widgets header")
  elseif(nom STREQUAL "CQTDispatcher.h")
    set(raison "${inclus} is the dispatcher header")
  elseif(NOT delimiteur STREQUAL "<")
    get_filename_component(dossier "${fichier}" DIRECTORY)
    set(chemin "")
    foreach(racine "${dossier}" ${_racines})
      if(EXISTS "${racine}/${inclus}" AND NOT IS_DIRECTORY "${racine}/${inclus}")
        get_filename_component(chemin "${racine}/${inclus}" ABSOLUTE)
        break()
      endif()
    endforeach()
    if(chemin)
      kv_faute_entete("${chemin}" chaine)
      if(chaine)
        set(raison "${inclus} -> ${chaine}")
      endif()
    endif()
  endif()
  set(${sortie} "${raison}" PARENT_SCOPE)
endfunction()

# The first include of a project header that brings the widget layer in,
# as "name:line reason"; empty when none. Each header is read once; a header
# met again while it is being read brings nothing more.
function(kv_faute_entete chemin sortie)
  string(MAKE_C_IDENTIFIER "${chemin}" cle)
  get_property(connu GLOBAL PROPERTY kv_entete_${cle} SET)
  if(connu)
    get_property(resultat GLOBAL PROPERTY kv_entete_${cle})
    set(${sortie} "${resultat}" PARENT_SCOPE)
    return()
  endif()
  set_property(GLOBAL PROPERTY kv_entete_${cle} "")
  get_filename_component(nom "${chemin}" NAME)
  kv_lignes("${chemin}" lignes)
  set(resultat "")
  set(n 0)
  foreach(ligne IN LISTS lignes)
    math(EXPR n "${n} + 1")
    if(ligne MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
      kv_faute_inclusion("${CMAKE_MATCH_2}" "${CMAKE_MATCH_1}" "${chemin}" raison)
      if(raison)
        set(resultat "${nom}:${n} ${raison}")
        break()
      endif()
    endif()
  endforeach()
  set_property(GLOBAL PROPERTY kv_entete_${cle} "${resultat}")
  set(${sortie} "${resultat}" PARENT_SCOPE)
endfunction()

set(_nb_fautes 0)
set(_nb_modeles 0)
foreach(_dossier ${_dossiers})
  if(NOT IS_DIRECTORY "${_dossier}")
    message(FATAL_ERROR "${_dossier} is not a folder")
  endif()
  file(GLOB_RECURSE _fichiers "${_dossier}/*.h" "${_dossier}/*.cpp")
  list(SORT _fichiers)
  foreach(_fichier ${_fichiers})
    get_filename_component(_nom "${_fichier}" NAME)
    if(_nom MATCHES "^Vue" OR _nom MATCHES "_QT" OR _nom MATCHES "^CQTDispatcher")
      continue()
    endif()
    math(EXPR _nb_modeles "${_nb_modeles} + 1")
    file(RELATIVE_PATH _affiche "${CMAKE_CURRENT_SOURCE_DIR}" "${_fichier}")
    kv_lignes("${_fichier}" _lignes)
    set(_n 0)
    foreach(_ligne IN LISTS _lignes)
      math(EXPR _n "${_n} + 1")
      if(_ligne MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
        kv_faute_inclusion("${CMAKE_MATCH_2}" "${CMAKE_MATCH_1}" "${_fichier}" _raison)
        if(_raison)
          message("${_affiche}:${_n}: ${_raison}")
          math(EXPR _nb_fautes "${_nb_fautes} + 1")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(_nb_modeles EQUAL 0)
  message(FATAL_ERROR "no model file in ${_dossiers}")
endif()
if(_nb_fautes GREATER 0)
  message(FATAL_ERROR "${_nb_fautes} include(s) of the widget layer in ${_nb_modeles} model files")
endif()
message(STATUS "${_nb_modeles} model files, none includes the widget layer")
