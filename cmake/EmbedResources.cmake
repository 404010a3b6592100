# Turns data files into a C++ source holding them, so a module carries its resource
# description without depending on paths at run time.
# Usage: cmake -DOUTPUT=file.cpp -DNAMESPACE=ns -DFILES="a;b" -P EmbedResources.cmake
set(body "// Generated from the resource files; edit those, not this.\n#include <map>\n#include <string>\n\nnamespace ${NAMESPACE} {\n\nconst std::map<std::string, std::string>& ResourceFiles() {\n    static const std::map<std::string, std::string> files = {\n")
foreach(path IN LISTS FILES)
  get_filename_component(name "${path}" NAME)
  file(READ "${path}" content)
  string(FIND "${content}" ")GERRES\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${path} holds the raw-string delimiter")
  endif()
  string(APPEND body "        {\"${name}\", R\"GERRES(${content})GERRES\"},\n")
endforeach()
string(APPEND body "    };\n    return files;\n}\n\n} // namespace ${NAMESPACE}\n")
file(WRITE "${OUTPUT}.tmp" "${body}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
