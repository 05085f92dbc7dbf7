#pragma once

#include "core/net/NetEndpoints.h"

// The servers named in jotterly.conf beside "Note.Dat" in place of the built-in ones.
class SideEndpoints {
public:
    // defaults with every server the file names put in; a missing file changes nothing.
    static NetEndpoints Read(NetEndpoints defaults);
};
