// The help pages' texts: the game, the objects of a race, the controls, and the game itself.
#include "menus/HelpPages.h"

#include <algorithm>
#include <array>

#include "engine/GameLanguage.h"
#include "engine/MessageCatalog.h"

namespace quillon {

namespace {

// A paragraph, one text of the catalog with its lines broken by '\n' (a translation breaks
// its own lines), a line every `step` pixels below y0.
void AddLines(std::vector<THelpLine>& page, std::string_view paragraph, int font, int x, int y0, int step) {
    const std::string text = TrDrawn(paragraph);
    int i = 1;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        page.push_back({text.substr(start, end - start), font, x, y0 + step * i++});
        start = end + 1;
    }
}

std::array<std::vector<THelpLine>, HelpPageCount> BuildPages() {
    std::array<std::vector<THelpLine>, HelpPageCount> pages;
    auto heading = [](const char* text) { return THelpLine{TrDrawn(text), 19, 15, 220}; };

    pages[0].push_back(heading(TrMark("ОПИСАНИЕ")));
    AddLines(pages[0],
             TrMark("  Игра Квиллон позволит тебе \n"
                    "окунуться в мир безумных гонок на космических\n"
                    "кораблях с грозными воинственными противник-\n"
                    "ами. Бесконечные космические пространства уже\n"
                    "заждались! Выбери один из космических\n"
                    "кораблей и сотри противников в порошок!\n"
                    "  И не думай, что будет легко! Главное - помни\n"
                    "о времени и не теряй концентрации. Бонусы\n"
                    "помогут справиться с соперниками. Ты готов к\n"
                    "сражению? Тогда дерзай! Лавры победителя\n"
                    "ждут тебя!"),
             20, 17, 230, 20);

    pages[1].push_back(heading(TrMark("ОБЪЕКТЫ")));
    const struct { const char* text; int x, y; } legend[] = {
        {TrMark("Очки"), 65, 277},  {TrMark("Энергия"), 65, 327},      {TrMark("Жизнь"), 65, 377},      {TrMark("Неуязвимость"), 65, 427},
        {TrMark("Нитро"), 310, 277}, {TrMark("Мега-выстрел"), 310, 327}, {TrMark("Астероиды"), 310, 396},
    };
    for (const auto& l : legend) pages[1].push_back({TrDrawn(l.text), 21, l.x, l.y});

    pages[2].push_back(heading(TrMark("УПРАВЛЕНИЕ")));
    pages[2].push_back({TrDrawn("НАВИГАЦИЯ В МЕНЮ"), 21, 17, 250});
    AddLines(pages[2],
             TrMark("Используйте стрелки или мышку чтобы перемещ-\n"
                    "аться по меню вверх и вниз.\n"
                    "Нажмите Enter или любую кнопку мыши чтобы\n"
                    "войти в подменю.\n"
                    "Нажмите клавишу \"Влево\", клавишу \"Вправо\",\n"
                    "\"Enter\" чтобы изменить значение параметров в\n"
                    "подменю опций.\n"
                    "Нажмите \"Esc\" чтобы выйти из подменю в меню."),
             20, 17, 255, 20);

    pages[3].push_back(heading(TrMark("УПРАВЛЕНИЕ")));
    pages[3].push_back({TrDrawn("НАВИГАЦИЯ В ИГРЕ"), 21, 17, 250});
    AddLines(pages[3],
             TrMark("Используте клавишы \"Влево\", \"Вправо\" чтобы\n"
                    "двигать корабль влево или вправо. Используйте\n"
                    "клавишы \"Вверх\", \"Вниз\" для ускорения или\n"
                    "замедления корабля. Используйте \"Ctrl\" или\n"
                    "\"Z\" для стрельбы. Используйте \"X\" для \"Нитро\".\n"
                    "Нажмите \"Space\" для экстра торможения\n"
                    "Используйте \"P\" для вызова паузы.\n"
                    "Нажмите \"Escape\" чтобы выйти из игры в меню.\n"
                    "\"Alt\"+\"Enter\" - смена режима экрана.\n"
                    "Клавиша босса - сворачивание игры."),
             20, 17, 255, 20);

    pages[4].push_back(heading(TrMark("ОБ ИГРЕ")));
    pages[4].push_back({TrDrawn("КВИЛЛОН"), 23, 160, 305});
    pages[4].push_back({TrDrawn("Космические гонки Квиллон"), 21, 152, 345});
    pages[4].push_back({TrDrawn("2026 год"), 21, 150, 380});
    return pages;
}

}  // namespace

const std::vector<THelpLine>& HelpPageLines(int page) {
    // Built once per language, at the first page shown in it.
    static std::array<std::vector<THelpLine>, HelpPageCount> pages[2];
    static bool built[2] = {false, false};
    const size_t language = GameLanguage() == TLanguage::English ? 1 : 0;
    if (!built[language]) {
        pages[language] = BuildPages();
        built[language] = true;
    }
    if (page < 1 || page > HelpPageCount) page = 1;
    return pages[language][static_cast<size_t>(page - 1)];
}

}  // namespace quillon
