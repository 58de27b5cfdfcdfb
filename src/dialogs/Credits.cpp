#include "dialogs/Credits.h"

#include <cstddef>
#include <cstdio>

#include "i18n/LanguageLines.h"
#include "i18n/LanguageTable.h"
#include "resources/resource.h"

namespace vok {

namespace {

// A heading that no language file translates.
constexpr int kFixedHeading = -1;

// One column: its format, whose "%s" receive the headings in order, and the
// language lines of those headings. The names, markers and line breaks are
// fixed text.
struct Column {
    const char* format;
    int headings[5];
    int headingCount;
    int control;
};

const Column kColumns[] = {
    {"%s\n - Maren Holt\n - Jonas Brink\n - Elsa Varg"
     "\n\n%s\n - Pekka Ruusu\n - Ida Stenvall"
     "\n\n%s\n - Rune Falkner\n - Lotta Grahn\n - Nils Ekberg\n - Saga Lindmark"
     "\n\n%s\n - Viktor Ahlgren\n - Hedda Moss",
     {lines::kCreditsGameDesign, lines::kCreditsProgramming, lines::kCreditsGraphics,
      lines::kCreditsSound},
     4,
     IDC_CREDITS_COLUMN1},
    {"%s\n - Arvid Kralle"
     "\n\n%s\n - Tove Bergsand\n - Jonas Brink"
     "\n\n%s\n - Mikko Salvela\n - Frida Norrby"
     "\n\n%s\n - Elsa Varg\n - Oskar Tennby"
     "\n\n%s\n - Sigrid Haver\n - Pekka Ruusu",
     {lines::kCreditsProducer, lines::kCreditsArenaDesign, lines::kCreditsTesting,
      lines::kCreditsStory, lines::kCreditsTranslation},
     5,
     IDC_CREDITS_COLUMN2},
    {"%s\n - Halvard Ostmark"
     "\n\n%s\n - Linnea Dahlquist\n - Teodor Vinge"
     "\n\n%s\n - Rune Falkner\n - Ida Stenvall"
     "\n\n%s\n - Greta Solberg"
     "\n\n%s\n - Brackenmoor Games",
     {lines::kCreditsExecutiveProducer, lines::kCreditsVoices, kFixedHeading, lines::kCreditsThanks,
      lines::kCreditsPublisher},
     5,
     IDC_CREDITS_COLUMN3},
};

// Five headings of the longest line and the names always fit: a column is
// never cut.
constexpr std::size_t kBufferSize = 8000;
static_assert(5 * LanguageTable::kLineSize + 1000 < kBufferSize, "a credits column is cut");

const char* Heading(const LanguageTable& language, int line) {
    return line == kFixedHeading ? "DEMO" : language.Text(line);
}

}  // namespace

void OpenCredits(Ui& dialog, const LanguageTable& language) {
    dialog.SetCaption(language.Text(lines::kCreditsCaption));
    char buffer[kBufferSize];
    for (const Column& c : kColumns) {
        const char* h[5] = {};
        for (int i = 0; i < c.headingCount; ++i) {
            h[i] = Heading(language, c.headings[i]);
        }
        // The formats ignore the arguments they have no "%s" for.
        std::snprintf(buffer, sizeof buffer, c.format, h[0], h[1], h[2], h[3], h[4]);
        dialog.SetText(c.control, buffer);
    }
    dialog.SetText(IDC_OK, language.Text(lines::kCreditsOk));
}

bool RunCreditsCommand(Ui& dialog, int id) {
    if (id != IDC_OK && id != IDC_CANCEL) {
        return false;
    }
    dialog.EndDialog(IDC_CANCEL);
    return true;
}

}  // namespace vok
