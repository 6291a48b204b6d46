# An engine library stays below the windows: it links no widget library (Qt Widgets, the UI
# layer, the dialogs, the workbench, the main window, the app, a *_windows library) and none of
# its own files includes a widget header or a header of those libraries.
#
# Included from a CMakeLists.txt, sifmora_add_engine_check(<test> <target> <folder>) adds a ctest
# that checks <target>'s whole link closure (walked here, once every target exists) and the
# includes of the .h/.cpp files directly in <folder>. Run with -P, the same file is that test.

if(NOT CMAKE_SCRIPT_MODE_FILE)
  # Every library <target> reaches through its link interface, once each, into <out>.
  function(sifmora_link_closure target out)
    set(seen "")
    set(todo ${target})
    while(todo)
      list(POP_FRONT todo item)
      # A link-only wrapper still links its target; other generator expressions name no target.
      if(item MATCHES "^\\$<LINK_ONLY:(.+)>$")
        set(item "${CMAKE_MATCH_1}")
      elseif(item MATCHES "^\\$<")
        continue()
      endif()
      if(item IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${item})
      if(TARGET ${item})
        get_target_property(aliased ${item} ALIASED_TARGET)
        if(aliased)
          list(APPEND todo ${aliased})
        endif()
        get_target_property(type ${item} TYPE)
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
          get_target_property(links ${item} LINK_LIBRARIES)
          if(links)
            list(APPEND todo ${links})
          endif()
        endif()
        get_target_property(interface ${item} INTERFACE_LINK_LIBRARIES)
        if(interface)
          list(APPEND todo ${interface})
        endif()
      endif()
    endwhile()
    set(${out} "${seen}" PARENT_SCOPE)
  endfunction()

  set(SIFMORA_ENGINE_CHECK_SCRIPT ${CMAKE_CURRENT_LIST_FILE})
  function(sifmora_add_engine_check test target folder)
    sifmora_link_closure(${target} closure)
    get_target_property(widget_includes Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
    add_test(NAME ${test}
             COMMAND ${CMAKE_COMMAND} "-DTARGET=${target}" "-DCLOSURE=${closure}" "-DFOLDER=${folder}"
                     "-DWIDGET_INCLUDES=${widget_includes}" -P ${SIFMORA_ENGINE_CHECK_SCRIPT})
  endfunction()
  return()
endif()

# ---- The test itself (cmake -P) ----
cmake_policy(VERSION 3.25)
set(faults "")
foreach(lib IN LISTS CLOSURE)
  if(lib MATCHES "^(Qt6?::(Widgets|Gui|OpenGLWidgets|PrintSupport)|sifmora_(ui|dialogs|workbench|mainwindow|app|analysis|statistics)|.*_windows)$")
    list(APPEND faults "${TARGET} links ${lib}")
  endif()
endforeach()

# The Widgets headers by name (<QWidget>, <QComboBox>...), from the Qt Widgets include folder.
set(widget_headers "")
foreach(dir IN LISTS WIDGET_INCLUDES)
  if(dir MATCHES "QtWidgets$" AND IS_DIRECTORY "${dir}")
    file(GLOB names RELATIVE "${dir}" "${dir}/Q*")
    list(APPEND widget_headers ${names})
  endif()
endforeach()
if(NOT widget_headers)
  list(APPEND faults "no Qt Widgets header folder among: ${WIDGET_INCLUDES}")
endif()

file(GLOB sources "${FOLDER}/*.h" "${FOLDER}/*.cpp")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "[<\"]([^>\"]+)[>\"]")
      set(header "${CMAKE_MATCH_1}")
      if(header MATCHES "^(QtWidgets/|QtGui/|platform/ui/|dialogs/|workbench/|mainwindow/|app/|statistics/|[a-z]+/windows/)"
         OR header IN_LIST widget_headers)
        list(APPEND faults "${source} includes ${header}")
      endif()
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "The engine ${TARGET} reaches the windows:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${TARGET}: no widget library linked, no widget header in ${count} files")
