# The core must stay free of Qt: fail the configure step if anything links it in.
get_target_property(_core_libs jotterly_core LINK_LIBRARIES)
foreach(_lib IN LISTS _core_libs)
    if(_lib MATCHES "Qt")
        message(FATAL_ERROR "jotterly_core must not link Qt (found ${_lib})")
    endif()
endforeach()
