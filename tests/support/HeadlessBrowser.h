// Runs Debian's chromium headless against a page, for tests that look at the page as a reader's
// browser lays it out: its DOM after parsing, or a screenshot at a given window size. Each run
// has a profile folder of its own and a deadline, after which the browser and its helpers are
// killed.
#pragma once

#include <string>

namespace quillon::testing {

// The browser program ($QUILLON_CHROMIUM, else chromium on the PATH), or "" when there is none.
std::string FindChromium();

class THeadlessBrowser {
public:
    // `dir` holds the profile and the output files; it must be the test's own folder.
    THeadlessBrowser(std::string program, std::string dir) : FProgram(std::move(program)), FDir(std::move(dir)) {}

    // The DOM as the browser serialises it after loading `url`; "" when the run failed.
    std::string DumpDom(const std::string& url);
    // Takes a screenshot of the window (width x height) showing `url` into `png`; false on failure.
    bool Screenshot(const std::string& url, int width, int height, const std::string& png);

    // The languages the browser asks pages for (its Accept-Language, e.g. "ru,en;q=0.5"); the
    // browser's own when empty.
    void SetLanguages(std::string languages) { FLanguages = std::move(languages); }

    // What the last run wrote on standard error, for failure messages.
    const std::string& LastErrors() const { return FErrors; }

private:
    bool Run(const std::string& url, const std::string& mode, const std::string& window, std::string& out);

    std::string FProgram;
    std::string FDir;
    std::string FErrors;
    std::string FLanguages;
    int FRuns = 0;
};

}  // namespace quillon::testing
