// The connections' deadlines on socket pairs: a connection late with its request head is shut
// down, one being answered is left alone, and stopping shuts down every waiting one at once.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include "server/ConnectionDeadlines.h"

namespace quillon::server {
namespace {

// A socket pair: the server's end is watched, the client's end sees the shutdown.
struct TPair {
    TPair() { socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, Ends); }
    ~TPair() {
        close(Ends[0]);
        close(Ends[1]);
    }
    bool ClientSeesEnd() const {
        char byte;
        return recv(Ends[1], &byte, 1, 0) == 0;
    }
    int Ends[2] = {-1, -1};
};

TEST(ConnectionDeadlines, LateHeadsAreShutDownOthersNot) {
    TConnectionDeadlines deadlines(5);
    TPair fresh, late, answering, answeredLately;
    deadlines.Opened(&fresh, fresh.Ends[0], 98);
    deadlines.Opened(&late, late.Ends[0], 90);
    deadlines.Opened(&answering, answering.Ends[0], 90);
    deadlines.HeadComplete(&answering);
    deadlines.Opened(&answeredLately, answeredLately.Ends[0], 90);
    deadlines.HeadComplete(&answeredLately);
    deadlines.Answered(&answeredLately, 97);

    EXPECT_EQ(deadlines.ShutDownLate(100), 1);
    EXPECT_TRUE(late.ClientSeesEnd());
    EXPECT_FALSE(fresh.ClientSeesEnd());
    EXPECT_FALSE(answering.ClientSeesEnd());
    EXPECT_FALSE(answeredLately.ClientSeesEnd());
    EXPECT_EQ(deadlines.ShutDownLate(100), 0) << "a connection is shut down once";

    // Stopping: every connection not being answered, whatever its clock.
    EXPECT_EQ(deadlines.ShutDownLate(100, true), 2);
    EXPECT_TRUE(fresh.ClientSeesEnd());
    EXPECT_TRUE(answeredLately.ClientSeesEnd());
    EXPECT_FALSE(answering.ClientSeesEnd());

    for (const void* key : {static_cast<const void*>(&fresh), static_cast<const void*>(&late),
                            static_cast<const void*>(&answering), static_cast<const void*>(&answeredLately)})
        deadlines.Closed(key);
    EXPECT_EQ(deadlines.Open(), 0u);
}

}  // namespace
}  // namespace quillon::server
