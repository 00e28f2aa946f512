// A stand-in for the verifying game that tries to get out of its sandbox. Which escape it tries
// is the table name its replay claims (the row's name); where the server's things are it reads
// from the file beside itself ("<program>.conf": the database, a listening port, the server's
// process id, a marker file in the machine's /tmp). It tells on standard error what it tried:
// "ESCAPED ..." when it got through, "held ..." when it was stopped, and exits with status 1.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::map<std::string, std::string> ReadConfig(const std::string& path) {
    std::map<std::string, std::string> config;
    std::ifstream in(path);
    std::string key, value;
    while (in >> key >> value) config[key] = value;
    return config;
}

int Told(bool escaped, const std::string& what) {
    std::fprintf(stderr, "%s %s: %s\n", escaped ? "ESCAPED" : "held", what.c_str(), std::strerror(errno));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    std::ifstream replayFile(argv[3], std::ios::binary);
    std::stringstream bytes;
    bytes << replayFile.rdbuf();
    const std::string replay = bytes.str();
    auto config = ReadConfig(std::string(argv[0]) + ".conf");
    const auto tries = [&](const char* escape) { return replay.find(escape) != std::string::npos; };

    if (tries("database")) {
        const std::string database = config["database"];
        const int fd = open(database.c_str(), O_WRONLY | O_APPEND);
        if (fd >= 0) return Told(true, "wrote the database");
        const std::string beside = database + "-beside";
        if (open(beside.c_str(), O_WRONLY | O_CREAT, 0644) >= 0) return Told(true, "made a file beside the database");
        return Told(false, "the database");
    }
    if (tries("machinetmp")) {
        if (open(config["marker"].c_str(), O_WRONLY | O_CREAT, 0644) >= 0) return Told(true, "wrote the machine's /tmp");
        return Told(false, "the machine's /tmp");
    }
    if (tries("connect")) {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(std::atoi(config["port"].c_str())));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (s >= 0 && connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
            return Told(true, "connected to the machine's loopback");
        return Told(false, "the network");
    }
    if (tries("signal")) {
        const pid_t server = static_cast<pid_t>(std::atoi(config["server"].c_str()));
        if (kill(server, SIGTERM) == 0) return Told(true, "signalled the server");
        return Told(false, "the server's process");
    }
    if (tries("serverproc")) {
        const std::string path = "/proc/" + config["server"] + "/cmdline";
        std::ifstream in(path);
        std::string text;
        if (in && std::getline(in, text) && !text.empty()) return Told(true, "read the server's command line");
        return Told(false, "the server's /proc");
    }
    if (tries("grandchild")) {
        const pid_t child = fork();
        if (child == 0) {
            setsid();
            if (fork() == 0) {
                prctl(PR_SET_NAME, "qhostile-left", 0, 0, 0);
                for (;;) pause();
            }
            _exit(0);
        }
        waitpid(child, nullptr, 0);
        errno = 0;
        return Told(false, "a grandchild left in a session of its own");
    }
    if (tries("allocate")) {
        const std::size_t size = std::size_t(2) << 30;
        char* memory = static_cast<char*>(std::malloc(size));
        if (memory) {
            for (std::size_t at = 0; at < size; at += 4096) memory[at] = 1;
            return Told(true, "allocated 2 GiB");
        }
        std::fprintf(stderr, "out of memory\n");
        return Told(false, "2 GiB");
    }
    if (tries("forkmany")) {
        int made = 0;
        for (int i = 0; i < 2000; ++i) {
            const pid_t child = fork();
            if (child == 0) {
                pause();
                _exit(0);
            }
            if (child < 0) break;
            ++made;
        }
        if (made >= 2000) return Told(true, "forked 2000 times");
        return Told(false, "forks after " + std::to_string(made));
    }
    return 2;
}
