// The score sender of the desktop game: the request runs beside the frame loop, a refused
// connection ends it at once, and leaving the game while a server keeps silent abandons
// the request instead of waiting for its time limit.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "platform/CurlScoreSender.h"
#include "support/LoopbackHttpServer.h"

namespace quillon {
namespace {

using testing::TLoopbackHttpServer;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

TEST(ScoreSenderTest, ARequestRunsBesideTheGameAndEndsWhenAnswered) {
    TLoopbackHttpServer server(TLoopbackHttpServer::TMode::Answer);
    TCurlScoreSender sender;
    sender.Send(server.Address() + "/cgi/version.pl?hs&prg=Quillon&inf=AAAAAAAA");
    const auto start = Clock::now();
    while (sender.Busy() && SecondsSince(start) < 8) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(sender.Busy());
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /cgi/version.pl?hs&prg=Quillon&inf=AAAAAAAA HTTP/1.1\r\n", 0), 0u);
}

TEST(ScoreSenderTest, ARefusedConnectionEndsAtOnce) {
    TCurlScoreSender sender;
    sender.Send(TLoopbackHttpServer::RefusingAddress() + "/cgi/version.pl");
    const auto start = Clock::now();
    while (sender.Busy() && SecondsSince(start) < 8) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(sender.Busy());
    EXPECT_LT(SecondsSince(start), 4);
}

TEST(ScoreSenderTest, LeavingDuringASilentRequestDoesNotWaitForIt) {
    TLoopbackHttpServer server(TLoopbackHttpServer::TMode::NeverAnswer);
    auto sender = std::make_unique<TCurlScoreSender>();
    sender->Send(server.Address() + "/cgi/version.pl");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(sender->Busy()) << "the server has not answered";
    const auto start = Clock::now();
    sender.reset();
    EXPECT_LT(SecondsSince(start), 4) << "abandoned, not waited out (the limit is 10 s)";
}

}  // namespace
}  // namespace quillon
