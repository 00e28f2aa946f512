// The table page's style sheet.
#include "server/TablePageStyle.h"

#include <cstdio>

#include "server/PagePalette.h"

namespace quillon::server {
namespace {

constexpr const char* kRules = R"(
* { box-sizing: border-box; }
body { margin: 0; background: var(--ink); color: var(--white);
  font-family: Play, "DejaVu Sans", sans-serif; line-height: 1.35; }
main { max-width: 54rem; margin: 0 auto; padding: 1rem 1rem 2rem; }
nav.language { text-align: right; font-size: 0.9rem; }
nav.language a { color: var(--amber); }
nav.language a:hover { color: var(--white); }
header.title { text-align: center; }
header.title img { display: inline-block; max-width: 100%; height: auto; }
h1 { margin: 0.4rem 0 1rem; text-align: center; font-size: 1.35rem; letter-spacing: 0.05em;
  color: var(--cyan); }
form.filter { display: flex; flex-wrap: wrap; gap: 0.6rem 1.2rem; align-items: center; justify-content: center;
  margin: 0 0 1.2rem; padding: 0.7rem 1rem; background: var(--body); border: 1px solid var(--frame-dim);
  border-radius: 0 0.9rem; }
select, button { font: inherit; color: var(--white); background: var(--body-light);
  border: 1px solid var(--frame); border-radius: 0.3rem; padding: 0.25rem 0.5rem; max-width: 100%; }
button { background: var(--frame); color: var(--ink); font-weight: bold; cursor: pointer; }
input[type=checkbox] { accent-color: var(--green); width: 1.1em; height: 1.1em; vertical-align: -0.15em; }
ol.podium { list-style: none; margin: 0 0 1.2rem; padding: 0; display: grid;
  grid-template-columns: repeat(3, minmax(0, 1fr)); gap: 0.9rem; align-items: stretch; }
/* A podium: the first in the middle and highest, the second on its left, the third on its right;
   the plates end on one line and start lower by place, whatever their texts. */
ol.podium li { display: flex; flex-direction: column; justify-content: center; padding: 0.8rem 0.9rem;
  background: linear-gradient(var(--body-light), var(--body)); border: 2px solid var(--steel);
  border-radius: 0 1.2rem; text-align: center; }
ol.podium li.top1 { order: 2; padding-top: 1.4rem; border-color: var(--amber);
  box-shadow: 0 0 1.2rem -0.3rem var(--amber); }
ol.podium li.top2 { order: 1; margin-top: 1.6rem; border-color: var(--steel); }
ol.podium li.top3 { order: 3; margin-top: 2.6rem; border-color: var(--copper); }
.medal { display: block; font-size: 2rem; font-weight: bold; line-height: 1; }
.top1 .medal { color: var(--amber); }
.top2 .medal { color: var(--steel); }
.top3 .medal { color: var(--copper); }
ol.podium .name { display: block; margin: 0.35rem 0 0.1rem; font-size: 1.15rem; font-weight: bold;
  overflow-wrap: anywhere; }
ol.podium .score { display: block; font-size: 1.6rem; font-weight: bold; color: var(--cyan); }
ol.podium .where { display: block; color: var(--steel); font-size: 0.9rem; overflow-wrap: anywhere; }
ol.podium .proof { display: block; margin-top: 0.35rem; }
table.rest { width: 100%; border-collapse: collapse; background: var(--body); border: 1px solid var(--frame-dim); }
table.rest th { color: var(--steel); font-weight: normal; text-align: left; padding: 0.4rem 0.6rem;
  border-bottom: 2px solid var(--frame); }
table.rest td { padding: 0.35rem 0.6rem; border-bottom: 1px solid var(--frame-dim); }
table.rest tbody tr:nth-child(even) { background: var(--body-light); }
table.rest .place, table.rest .score { text-align: right; }
table.rest td.place { color: var(--steel); }
table.rest td.name { overflow-wrap: anywhere; }
table.rest td.score { color: var(--cyan); font-weight: bold; }
table.rest td.proof, table.rest td.date { white-space: nowrap; }
.verified { color: var(--green); white-space: nowrap; }
a.replay { color: var(--amber); white-space: nowrap; }
a.replay:hover { color: var(--white); }
p.empty { text-align: center; color: var(--steel); padding: 1.5rem 0; }
p.note { color: var(--steel); font-size: 0.9rem; }
code { color: var(--white); background: var(--body-light); padding: 0 0.25rem; border-radius: 0.2rem; }
@media (max-width: 40rem) {
  main { padding: 0.6rem 0.8rem 1.5rem; }
  h1 { font-size: 1.1rem; }
  ol.podium { grid-template-columns: minmax(0, 1fr); gap: 0.6rem; }
  ol.podium li.top1, ol.podium li.top2, ol.podium li.top3 { order: 0; margin-top: 0; padding: 0.6rem 0.8rem; }
  ol.podium li.top1 { box-shadow: 0 0 0.5rem -0.2rem var(--amber); }
  table.rest thead { display: none; }
  table.rest tr { display: grid; grid-template-columns: 2.6rem minmax(0, 1fr) auto; column-gap: 0.5rem;
    padding: 0.35rem 0.4rem; border-bottom: 1px solid var(--frame-dim); }
  table.rest td { padding: 0; border: 0; }
  table.rest td.place { grid-row: 1 / span 3; }
  table.rest td.name { grid-column: 2; }
  table.rest td.score { grid-column: 3; }
  table.rest td.country { grid-column: 2; color: var(--steel); font-size: 0.9rem; overflow-wrap: anywhere; }
  table.rest td.date { grid-column: 3; color: var(--steel); font-size: 0.9rem; text-align: right; }
  table.rest td.proof { grid-column: 2 / span 2; }
  table.rest td.proof:empty { display: none; }
}
)";

std::string BuildStyle() {
    std::string style = "\n:root {";
    for (const TPageColor& color : kPagePalette) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", color.R, color.G, color.B);
        style += std::string(" --") + color.Name + ": " + hex + ";";
    }
    return style + " }" + kRules;
}

}  // namespace

const std::string& TablePageStyle() {
    static const std::string style = BuildStyle();
    return style;
}

}  // namespace quillon::server
