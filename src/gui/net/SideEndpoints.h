#pragma once

#include "core/net/NetEndpoints.h"

class CSideSettings;

// The servers named in jotterly.conf beside "Note.Dat" in place of the built-in ones.
class SideEndpoints {
public:
    // defaults with every server the side settings name put in.
    static NetEndpoints Read(NetEndpoints defaults, const CSideSettings& side);
};
