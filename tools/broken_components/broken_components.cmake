# Components that fail at registration for real, one way each, for one bitness:
#   tovrel_broken_components(<i686|x86_64> <folder> <target>)
# builds them into <folder> with that bitness's mingw-w64 tools, whatever the build's own
# compiler is, so the host build (for its tests) and each Windows build make the same files.
#
#   imports_absent.dll   imports absent_runtime.dll, which is shipped nowhere
#   needs_helper.dll     imports helper.dll (shipped here), which imports helper_runtime.dll (nowhere)
#   no_register.dll      exports no DllRegisterServer or DllUnregisterServer
#   delay_absent.dll     delay-loads delayed_runtime.dll (nowhere); registers all the same
#   old/versioned.ocx    FILEVERSION 2.5.0.17  } two builds of one component
#   new/versioned.ocx    FILEVERSION 2.10.3.1  }
#   not_a_program.ocx    a web server's error page saved under a component's name
#
# The import libraries of the missing DLLs are made from .def files by dlltool and stay in
# <folder>/lib, beside no DLL. No C runtime: each DLL imports exactly what its source uses.
set(TOVREL_BROKEN_COMPONENTS_DIR ${CMAKE_CURRENT_LIST_DIR})

function(tovrel_broken_components arch out target)
  set(src ${TOVREL_BROKEN_COMPONENTS_DIR})
  set(prefix ${arch}-w64-mingw32)
  find_program(fixture_cc_${arch} ${prefix}-gcc REQUIRED)
  find_program(fixture_dlltool_${arch} ${prefix}-dlltool REQUIRED)
  find_program(fixture_windres_${arch} ${prefix}-windres REQUIRED)
  find_package(Python3 COMPONENTS Interpreter REQUIRED)
  set(cc ${fixture_cc_${arch}})
  set(dlltool ${fixture_dlltool_${arch}})
  set(windres ${fixture_windres_${arch}})
  if(arch STREQUAL "i686")
    set(entry _DllMain@12)
  else()
    set(entry DllMain)
  endif()
  # -S keeps the symbol table (set_delay_directory.py reads it) and drops debug sections;
  # the .def files name i686 exports undecorated and stdcall-fixup matches them.
  set(link ${cc} -O2 -shared -nostdlib -nostartfiles -Wl,-e,${entry} -Wl,-S
      -Wl,--enable-stdcall-fixup -Wl,--no-insert-timestamp)
  set(lib ${out}/lib)
  set(component ${src}/component.c ${src}/component.def)
  file(MAKE_DIRECTORY ${lib} ${out}/old ${out}/new)

  add_custom_command(OUTPUT ${lib}/libabsent_runtime.a ${lib}/libhelper_runtime.a ${lib}/libdelayed_runtime.a
    COMMAND ${dlltool} -d ${src}/absent_runtime.def -l ${lib}/libabsent_runtime.a
    COMMAND ${dlltool} -d ${src}/helper_runtime.def -l ${lib}/libhelper_runtime.a
    COMMAND ${dlltool} -d ${src}/delayed_runtime.def -y ${lib}/libdelayed_runtime.a
    DEPENDS ${src}/absent_runtime.def ${src}/helper_runtime.def ${src}/delayed_runtime.def
    VERBATIM)

  add_custom_command(OUTPUT ${out}/imports_absent.dll
    COMMAND ${link} -DFIXTURE_USES=absent_runtime_version -o ${out}/imports_absent.dll
            ${component} ${lib}/libabsent_runtime.a -lkernel32
    DEPENDS ${component} ${lib}/libabsent_runtime.a VERBATIM)

  add_custom_command(OUTPUT ${out}/helper.dll ${lib}/libhelper.a
    COMMAND ${link} -o ${out}/helper.dll -Wl,--out-implib,${lib}/libhelper.a
            ${src}/helper.c ${src}/helper.def ${lib}/libhelper_runtime.a -lkernel32
    DEPENDS ${src}/helper.c ${src}/helper.def ${lib}/libhelper_runtime.a VERBATIM)

  add_custom_command(OUTPUT ${out}/needs_helper.dll
    COMMAND ${link} -DFIXTURE_USES=helper_value -o ${out}/needs_helper.dll
            ${component} ${lib}/libhelper.a -lkernel32
    DEPENDS ${component} ${lib}/libhelper.a VERBATIM)

  add_custom_command(OUTPUT ${out}/no_register.dll
    COMMAND ${link} -o ${out}/no_register.dll ${src}/component.c ${src}/no_register.def -lkernel32
    DEPENDS ${src}/component.c ${src}/no_register.def VERBATIM)

  # libmingwex holds the helper that loads a delay-loaded DLL on its first call.
  add_custom_command(OUTPUT ${out}/delay_absent.dll
    COMMAND ${link} -DFIXTURE_USES=delayed_runtime_version -o ${out}/delay_absent.dll
            ${component} ${src}/delay_terminator.c ${lib}/libdelayed_runtime.a -lmingwex -lkernel32
    COMMAND ${Python3_EXECUTABLE} ${src}/set_delay_directory.py ${out}/delay_absent.dll
    DEPENDS ${component} ${src}/delay_terminator.c ${src}/set_delay_directory.py
            ${lib}/libdelayed_runtime.a VERBATIM)

  set(outputs)
  foreach(build "old|2,5,0,17" "new|2,10,3,1")
    string(REPLACE "|" ";" fields "${build}")
    list(GET fields 0 name)
    list(GET fields 1 version)
    add_custom_command(OUTPUT ${out}/${name}/versioned.ocx
      COMMAND ${windres} -DFIXTURE_VERSION=${version} -O coff -i ${src}/versioned.rc
              -o ${lib}/versioned_${name}.res.o
      COMMAND ${link} -o ${out}/${name}/versioned.ocx ${component} ${lib}/versioned_${name}.res.o -lkernel32
      DEPENDS ${component} ${src}/versioned.rc VERBATIM)
    list(APPEND outputs ${out}/${name}/versioned.ocx)
  endforeach()

  add_custom_command(OUTPUT ${out}/not_a_program.ocx
    COMMAND ${CMAKE_COMMAND} -E copy ${src}/not_a_program.ocx ${out}/not_a_program.ocx
    DEPENDS ${src}/not_a_program.ocx VERBATIM)

  add_custom_target(${target} ALL DEPENDS
    ${out}/imports_absent.dll ${out}/helper.dll ${out}/needs_helper.dll ${out}/no_register.dll
    ${out}/delay_absent.dll ${outputs} ${out}/not_a_program.ocx)
endfunction()
