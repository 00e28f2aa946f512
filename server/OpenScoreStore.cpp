// Choosing the store from the --db value; the replay states' names; whether a replay attaches.
#include "server/AddressGroup.h"
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

TAttachDecision DecideAttach(const TAttachFacts& facts, const std::string& sender, const TQueueLimits& limits) {
    if (facts.Rows.empty()) return {TAttachResult::NoSuchRow};
    const TAttachRow* open = nullptr;
    bool owned = false, verified = false;
    for (const TAttachRow& row : facts.Rows) {
        if (AddressGroup(row.Address) != sender) continue;
        owned = true;
        verified = verified || row.State == TReplayState::Verified;
        if (!open && (row.State == TReplayState::None || row.State == TReplayState::Failed)) open = &row;
    }
    if (!owned) return {TAttachResult::NotOwner};
    if (!open) return {verified ? TAttachResult::AlreadyVerified : TAttachResult::AlreadyHasReplay};
    if (facts.Refused) return {TAttachResult::Refused};
    if (facts.RaceUsed) return {TAttachResult::RaceUsed};
    if (facts.QueuedFromSender >= limits.PerAddress) return {TAttachResult::AddressBusy};
    if (facts.Queued >= limits.MaxQueued) return {TAttachResult::QueueFull};
    return {TAttachResult::Queued, open->Id};
}

std::unique_ptr<TScoreStore> OpenScoreStore(const std::string& database, const std::string& password) {
    if (IsPostgresConnection(database)) return std::make_unique<TPostgresScoreStore>(database, TPostgresLimits{}, password);
    return std::make_unique<TSqliteScoreStore>(database);
}

}  // namespace quillon::server
