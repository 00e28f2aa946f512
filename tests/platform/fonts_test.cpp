// The game's faces on this system: each name resolves through the game's rules
// to its chosen Debian font, every string the game draws has all its glyphs in
// its style's face, and glyph-by-glyph drawing lands where a whole-line render does.
#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "engine/Cp1251.h"
#include "engine/Surface.h"
#include "engine/TextCanvas.h"
#include "menus/Text.h"
#include "platform/TtfFontRasterizer.h"

namespace quillon {
namespace {

std::u32string CodePoints(const std::string& cp1251) {
    std::u32string out;
    for (char c : cp1251) out += CodePointOfCp1251(static_cast<uint8_t>(c));
    return out;
}

class GameFonts : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Fonts = new TTtfFontRasterizer(); }
    static void TearDownTestSuite() {
        delete Fonts;
        Fonts = nullptr;
    }
    static TTtfFontRasterizer* Fonts;
};
TTtfFontRasterizer* GameFonts::Fonts = nullptr;

TEST_F(GameFonts, EachFaceNameResolvesToItsChosenFont) {
    struct Case {
        const char* face;
        bool bold;
        const char* family;
    };
    const Case cases[] = {{"NewZelek", false, "Play"},
                          {"NewZelek", true, "Play"},
                          {"Crystal", false, "Jura"},
                          {"BancoDi", false, "Jura"},
                          {"Courier", false, "Liberation Mono"}};
    for (const Case& c : cases) {
        TFontRequest request{c.face, 19, c.bold};
        EXPECT_EQ(Fonts->FamilyOf(request), c.family)
            << c.face << " fell back to " << Fonts->FileOf(request)
            << "; are the font packages of scripts/setup-debian.sh installed?";
    }
    EXPECT_NE(Fonts->FileOf({"NewZelek", 37, true}).find("Bold"), std::string::npos);
}

TEST_F(GameFonts, EveryStringTheGameDrawsHasAllItsGlyphs) {
    const std::string cyrillic = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя";
    const std::string ascii = "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!\"+,-./:?";
    const std::string heads = "Место Имя Очки";
    struct Case {
        std::vector<int> styles;
        std::vector<std::string> texts;
    };
    const std::vector<Case> cases = {
        {{1}, {"Выйти из игры?", "Выйти в меню?", "Отправка..."}},
        {{2, 4, 10, 13}, {cyrillic, ascii, "Ваня"}},
        {{3}, {"Вы хотите очистить", "таблицу рекордов?"}},
        {{5}, {"Ваше время вышло", "Попробуйте ещё раз!!", "Пауза", "Уровень 10", "Конец Игры"}},
        {{6}, {"УРОВЕНЬ 10 / 10"}},
        {{7, 18, 24}, {"0123456789 : /"}},
        {{9, 11}, {"Набрано очков : 123456", "Введите ваше имя: ", "ПОЗДРАВЛЯЕМ!", "Вы закончили гонку!",
                   "Отправить очки в", "мировую таблицу?", "Ваше место: 1", "Бонус: 500", "Время: 59",
                   "Бонус за время: 295"}},
        {{12, 16}, {"Экран:", "Музыка:", "Звук:", "Страна:", "Клавиша Босса:"}},
        {{13}, {"ALT+", "CTRL+", "SHIFT+", "F1", "F12", "?"}},
        {{17}, {"Место", "Имя", "Очки", "0123456789", "-"}},
        {{19}, {"ОПИСАНИЕ", "ОБЪЕКТЫ", "УПРАВЛЕНИЕ", "ОБ ИГРЕ"}},
        {{20},
         {"  Игра Квиллон позволит тебе ", "окунуться в мир безумных гонок на космических",
          "кораблях с грозными воинственными противник-", "ами. Бесконечные космические пространства уже",
          "заждались! Выбери один из космических", "кораблей и сотри противников в порошок!",
          "  И не думай, что будет легко! Главное - помни", "о времени и не теряй концентрации. Бонусы",
          "помогут справиться с соперниками. Ты готов к", "сражению? Тогда дерзай! Лавры победителя",
          "ждут тебя!", "Используйте стрелки или мышку чтобы перемещ-", "аться по меню вверх и вниз.",
          "Нажмите Enter или любую кнопку мыши чтобы", "войти в подменю.",
          "Нажмите клавишу \"Влево\", клавишу \"Вправо\",", "\"Enter\" чтобы изменить значение параметров в",
          "подменю опций.", "Нажмите \"Esc\" чтобы выйти из подменю в меню.",
          "Используте клавишы \"Влево\", \"Вправо\" чтобы", "двигать корабль влево или вправо. Используйте",
          "клавишы \"Вверх\", \"Вниз\" для ускорения или", "замедления корабля. Используйте \"Ctrl\" или",
          "\"Z\" для стрельбы. Используйте \"X\" для \"Нитро\".", "Нажмите \"Space\" для экстра торможения",
          "Используйте \"P\" для вызова паузы.", "Нажмите \"Escape\" чтобы выйти из игры в меню.",
          "\"Alt\"+\"Enter\" - смена режима экрана.", "Клавиша босса - сворачивание игры."}},
        {{21},
         {"Очки", "Энергия", "Жизнь", "Неуязвимость", "Нитро", "Мега-выстрел", "Астероиды", "НАВИГАЦИЯ В МЕНЮ",
          "НАВИГАЦИЯ В ИГРЕ"}},
        {{23}, {"КВИЛЛОН"}},
        // The high-score column heads appear in whatever font was selected last.
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}, {heads}},
    };
    TDirectDrawSurface surface(800, 600);
    TTextCanvas canvas(*Fonts);
    canvas.SetSurface(&surface);
    TGameText text(canvas);
    for (const Case& c : cases) {
        for (int style : c.styles) {
            for (const std::string& utf8 : c.texts) {
                std::string line = Utf8ToCp1251(utf8);
                text.SelectFont(style);
                TFontRequest request = canvas.CurrentRequest();
                for (char32_t ch : CodePoints(line))
                    EXPECT_TRUE(Fonts->HasGlyph(request, ch))
                        << "style " << style << " (" << Fonts->FamilyOf(request) << ") lacks U+" << std::hex
                        << static_cast<uint32_t>(ch) << " of \"" << utf8 << "\"";
                surface.Fill(PackRGB565(128, 128, 128));
                text.DrawText(line, 400, 300, true, true);
                bool inked = false;
                for (uint16_t p : surface.Pixels()) inked = inked || p != PackRGB565(128, 128, 128);
                EXPECT_TRUE(inked) << "style " << style << ": \"" << utf8 << "\" left no ink";
            }
        }
    }
}

// Drawing glyph by glyph from the cache must put every pixel where SDL_ttf puts
// it when it renders the whole line (kerning off, as the canvas measures).
TEST_F(GameFonts, CachedGlyphsLandWhereAWholeLineRenderPutsThem) {
    const std::vector<std::pair<int, std::string>> cases = {
        {5, "Попробуйте ещё раз!!"}, {20, "ждут тебя! \"Alt\"+\"Enter\" - j"}, {18, "01:59 : 9"}, {4, "Жизнь"}};
    TTF_Init();
    for (const auto& [style, utf8] : cases) {
        SCOPED_TRACE(utf8);
        TDirectDrawSurface surface(800, 120);
        TTextCanvas canvas(*Fonts);
        canvas.SetSurface(&surface);
        TGameText text(canvas);
        text.SelectFont(style);
        canvas.Font.Red = canvas.Font.Green = canvas.Font.Blue = 255;
        std::string line = Utf8ToCp1251(utf8);
        text.DrawText(line, 10, 10, false, false);

        TFontRequest request = canvas.CurrentRequest();
        TTF_Font* font = TTF_OpenFont(Fonts->FileOf(request).c_str(), request.PixelHeight);
        ASSERT_NE(font, nullptr);
        if (request.Bold && Fonts->FileOf(request).find("Bold") == std::string::npos)
            TTF_SetFontStyle(font, TTF_STYLE_BOLD);
        TTF_SetFontKerning(font, 0);
        SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
        ASSERT_NE(rendered, nullptr);
        SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
        // Ink boxes: rows must agree exactly (same baseline); columns may drift
        // by the fractional advances a whole-line render accumulates.
        int ours[4] = {1 << 20, -1, 1 << 20, -1}, theirs[4] = {1 << 20, -1, 1 << 20, -1};
        auto extend = [](int* box, int x, int y) {
            box[0] = std::min(box[0], x);
            box[1] = std::max(box[1], x);
            box[2] = std::min(box[2], y);
            box[3] = std::max(box[3], y);
        };
        for (int y = 0; y < argb->h; ++y) {
            const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + y * argb->pitch);
            for (int x = 0; x < argb->w; ++x)
                if ((row[x] >> 24) > 64) extend(theirs, x, y);
        }
        for (int y = 0; y < surface.Height(); ++y)
            for (int x = 0; x < surface.Width(); ++x) {
                uint8_t r, g, b;
                UnpackRGB565(surface.Pixel(x, y), r, g, b);
                if (g > 64) extend(ours, x - 10, y - 10);
            }
        int first = 0, minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
        first = static_cast<int>(CodePointOfCp1251(static_cast<uint8_t>(line[0])));
        TTF_GlyphMetrics32(font, static_cast<Uint32>(first), &minx, &maxx, &miny, &maxy, &advance);
        int xstart = std::max(0, -minx);
        EXPECT_EQ(ours[2], theirs[2]);
        EXPECT_EQ(ours[3], theirs[3]);
        EXPECT_NEAR(ours[0], theirs[0] - xstart, 1);
        EXPECT_NEAR(ours[1], theirs[1] - xstart, static_cast<double>(line.size()) / 2);
        SDL_FreeSurface(argb);
        SDL_FreeSurface(rendered);
        TTF_CloseFont(font);
    }
    TTF_Quit();
}

}  // namespace
}  // namespace quillon
