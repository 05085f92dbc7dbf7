#pragma once

#include <functional>
#include <string>

// Tests that need their own network: the body runs in a child process inside new mount and
// network namespaces with only the loopback, up. Nothing it sends can leave the namespace.
constexpr int kNoPrivateNetwork = 77;
// The body's exit code; kNoPrivateNetwork when the namespaces could not be made (not root).
int RunInPrivateNetwork(const std::function<int()>& body);
// Puts text over the file at path, for this mount namespace only.
bool BindText(const std::string& text, const char* path);
