# Fails when a source file includes a header from a folder above or beside
# its own. The layers, from the bottom:
#   base/  <-  scripts/, output/, documents/  <-  compiler/  <-  app/, tools/
# with bench/ and fuzz/ beside the top. Run as: cmake -DROOT=<source> -P this
set(allowed_base base)
set(allowed_scripts base scripts)
set(allowed_output base output)
set(allowed_documents base documents)
set(allowed_compiler base scripts output compiler)
set(allowed_app base scripts output documents compiler app)
set(allowed_tools base scripts output documents compiler tools)
set(allowed_bench base scripts output documents compiler tools bench)
set(allowed_fuzz base scripts output documents compiler tools fuzz)

set(faults "")
foreach(folder base scripts output documents compiler app tools bench fuzz)
  file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cc)
  foreach(source ${sources})
    file(STRINGS ${ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"/]+/")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"/]+)/.*$" "\\1" target "${line}")
      list(FIND allowed_${folder} ${target} found)
      if(found EQUAL -1)
        string(APPEND faults "  ${source}: ${line}  (${folder}/ may include only: ${allowed_${folder}})\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "includes that reach a layer above or beside their own:\n${faults}")
endif()
