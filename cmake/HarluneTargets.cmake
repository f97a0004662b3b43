# Helpers that keep the per-folder CMake files short: sources are picked up by folder, so adding
# a file to a subsystem needs no edit here.

# harlune_glob(<var> <dir>...) collects the .cpp files of the given folders below src/.
function(harlune_glob out)
    set(files)
    foreach(dir IN LISTS ARGN)
        file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp)
        list(APPEND files ${found})
    endforeach()
    set(${out} ${files} PARENT_SCOPE)
endfunction()
