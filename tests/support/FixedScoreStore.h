// TFixedScoreStore: a world table held in memory with rows given by the test (their keys and
// verified marks included), for serving the page without a database.
#pragma once

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "server/ScoreStore.h"

namespace quillon::testing {

class TFixedScoreStore : public server::TScoreStore {
public:
    // `rows` best first.
    TFixedScoreStore(std::vector<server::TScoreRow> rows, std::vector<std::string> countries)
        : FRows(std::move(rows)), FCountries(std::move(countries)) {}

    TAddResult Add(const server::TSubmission&, std::int64_t, const std::string&) override { return TAddResult::Stored; }

    std::vector<server::TScoreRow> Best(std::size_t limit, const std::string& country, bool verifiedOnly) override {
        std::lock_guard lock(FMutex);
        ++FReads;
        std::vector<server::TScoreRow> rows;
        for (const server::TScoreRow& row : FRows) {
            if (rows.size() == limit) break;
            if ((country.empty() || row.Country == country) && (!verifiedOnly || row.Verified)) rows.push_back(row);
        }
        return rows;
    }
    std::vector<std::string> Countries(std::size_t limit) override {
        return {FCountries.begin(), FCountries.begin() + static_cast<std::ptrdiff_t>(std::min(limit, FCountries.size()))};
    }

    std::uint64_t Changes() const override { return 0; }  // the rows never change

    // How often the rows were read: what the kept answers spared shows here.
    std::size_t Reads() {
        std::lock_guard lock(FMutex);
        return FReads;
    }

    // The page only reads: no replay is taken or verified here.
    TAttachResult AttachReplay(const server::TSubmission&, const server::TReplayUpload&, std::int64_t,
                               const server::TQueueLimits&) override {
        return TAttachResult::NoSuchRow;
    }
    std::vector<server::TQueuedReplay> TakeQueued(std::size_t, std::int64_t, std::int64_t) override { return {}; }
    void Requeue(std::int64_t, std::int64_t) override {}
    void MarkVerified(std::int64_t) override {}
    void MarkFailed(std::int64_t, const std::string&) override {}
    server::TVerification Verification(std::int64_t) override { return {}; }
    std::optional<std::string> VerifiedReplay(std::int64_t) override { return std::nullopt; }

private:
    std::mutex FMutex;
    std::size_t FReads = 0;
    std::vector<server::TScoreRow> FRows;
    std::vector<std::string> FCountries;
};

}  // namespace quillon::testing
