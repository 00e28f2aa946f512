// The help pages' texts: the game, the objects of a race, the controls, and the game itself.
#include "menus/HelpPages.h"

#include <array>

#include "engine/Cp1251.h"

namespace quillon {

namespace {

void AddLines(std::vector<THelpLine>& page, std::initializer_list<const char*> lines, int font, int x, int y0,
              int step) {
    int i = 1;
    for (const char* line : lines) page.push_back({Utf8ToCp1251(line), font, x, y0 + step * i++});
}

std::array<std::vector<THelpLine>, HelpPageCount> BuildPages() {
    std::array<std::vector<THelpLine>, HelpPageCount> pages;
    auto heading = [](const char* text) { return THelpLine{Utf8ToCp1251(text), 19, 15, 220}; };

    pages[0].push_back(heading("ОПИСАНИЕ"));
    AddLines(pages[0],
             {"  Игра Квиллон позволит тебе ", "окунуться в мир безумных гонок на космических",
              "кораблях с грозными воинственными противник-", "ами. Бесконечные космические пространства уже",
              "заждались! Выбери один из космических", "кораблей и сотри противников в порошок!",
              "  И не думай, что будет легко! Главное - помни", "о времени и не теряй концентрации. Бонусы",
              "помогут справиться с соперниками. Ты готов к", "сражению? Тогда дерзай! Лавры победителя",
              "ждут тебя!"},
             20, 17, 230, 20);

    pages[1].push_back(heading("ОБЪЕКТЫ"));
    const struct { const char* text; int x, y; } legend[] = {
        {"Очки", 65, 277},  {"Энергия", 65, 327},      {"Жизнь", 65, 377},      {"Неуязвимость", 65, 427},
        {"Нитро", 310, 277}, {"Мега-выстрел", 310, 327}, {"Астероиды", 310, 396},
    };
    for (const auto& l : legend) pages[1].push_back({Utf8ToCp1251(l.text), 21, l.x, l.y});

    pages[2].push_back(heading("УПРАВЛЕНИЕ"));
    pages[2].push_back({Utf8ToCp1251("НАВИГАЦИЯ В МЕНЮ"), 21, 17, 250});
    AddLines(pages[2],
             {"Используйте стрелки или мышку чтобы перемещ-", "аться по меню вверх и вниз.",
              "Нажмите Enter или любую кнопку мыши чтобы", "войти в подменю.",
              "Нажмите клавишу \"Влево\", клавишу \"Вправо\",", "\"Enter\" чтобы изменить значение параметров в",
              "подменю опций.", "Нажмите \"Esc\" чтобы выйти из подменю в меню."},
             20, 17, 255, 20);

    pages[3].push_back(heading("УПРАВЛЕНИЕ"));
    pages[3].push_back({Utf8ToCp1251("НАВИГАЦИЯ В ИГРЕ"), 21, 17, 250});
    AddLines(pages[3],
             {"Используте клавишы \"Влево\", \"Вправо\" чтобы", "двигать корабль влево или вправо. Используйте",
              "клавишы \"Вверх\", \"Вниз\" для ускорения или", "замедления корабля. Используйте \"Ctrl\" или",
              "\"Z\" для стрельбы. Используйте \"X\" для \"Нитро\".", "Нажмите \"Space\" для экстра торможения",
              "Используйте \"P\" для вызова паузы.", "Нажмите \"Escape\" чтобы выйти из игры в меню.",
              "\"Alt\"+\"Enter\" - смена режима экрана.", "Клавиша босса - сворачивание игры."},
             20, 17, 255, 20);

    pages[4].push_back(heading("ОБ ИГРЕ"));
    pages[4].push_back({Utf8ToCp1251("КВИЛЛОН"), 23, 160, 305});
    pages[4].push_back({Utf8ToCp1251("Космические гонки Квиллон"), 21, 152, 345});
    pages[4].push_back({Utf8ToCp1251("2026 год"), 21, 150, 380});
    return pages;
}

}  // namespace

const std::vector<THelpLine>& HelpPageLines(int page) {
    static const std::array<std::vector<THelpLine>, HelpPageCount> pages = BuildPages();
    if (page < 1 || page > HelpPageCount) page = 1;
    return pages[static_cast<size_t>(page - 1)];
}

}  // namespace quillon
