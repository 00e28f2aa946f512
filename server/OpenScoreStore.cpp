// Choosing the store from the --db value; the replay states' names; whether a replay attaches.
#include "server/PostgresScoreStore.h"
#include "server/SqliteScoreStore.h"

namespace quillon::server {

bool IsPostgresConnection(const std::string& database) {
    return database.rfind("postgresql://", 0) == 0 || database.rfind("postgres://", 0) == 0 ||
           (database.find('=') != std::string::npos &&
            (database.find("dbname=") != std::string::npos || database.find("host=") != std::string::npos ||
             database.find("service=") != std::string::npos));
}

const char* ReplayStateName(TReplayState state) {
    switch (state) {
        case TReplayState::Queued: return "queued";
        case TReplayState::Verified: return "verified";
        case TReplayState::Failed: return "failed";
        case TReplayState::None: break;
    }
    return "none";
}

TReplayState ReplayStateFromName(const std::string& name) {
    for (TReplayState state : {TReplayState::Queued, TReplayState::Verified, TReplayState::Failed})
        if (name == ReplayStateName(state)) return state;
    return TReplayState::None;
}

TAttachResult DecideAttach(const TAttachCandidate& candidate, std::size_t maxQueued) {
    if (!candidate.RowFound) return TAttachResult::NoSuchRow;
    if (candidate.RowState == TReplayState::Verified) return TAttachResult::AlreadyVerified;
    if (candidate.RowState != TReplayState::None) return TAttachResult::AlreadyHasReplay;
    if (candidate.Queued >= maxQueued) return TAttachResult::QueueFull;
    return TAttachResult::Queued;
}

std::unique_ptr<TScoreStore> OpenScoreStore(const std::string& database) {
    if (IsPostgresConnection(database)) return std::make_unique<TPostgresScoreStore>(database);
    return std::make_unique<TSqliteScoreStore>(database);
}

}  // namespace quillon::server
