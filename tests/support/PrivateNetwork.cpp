#include "support/PrivateNetwork.h"

#include <cstdio>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
bool LoopbackUp() {
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    ifreq lo{};
    std::snprintf(lo.ifr_name, sizeof lo.ifr_name, "lo");
    bool ok = ioctl(s, SIOCGIFFLAGS, &lo) == 0;
    lo.ifr_flags |= IFF_UP;
    ok = ok && ioctl(s, SIOCSIFFLAGS, &lo) == 0;
    close(s);
    return ok;
}
} // namespace

int RunInPrivateNetwork(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (unshare(CLONE_NEWNS | CLONE_NEWNET) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 || !LoopbackUp())
            _exit(kNoPrivateNetwork);
        _exit(body());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

bool BindText(const std::string& text, const char* path) {
    char file[] = "/tmp/jotterly-bind-XXXXXX";
    const int fd = mkstemp(file);
    if (fd < 0) return false;
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    const bool bound = written && mount(file, path, nullptr, MS_BIND, nullptr) == 0;
    unlink(file); // the mount keeps it
    return bound;
}
