#include "dialogs/Credits.h"

#include <cstdio>

#include "i18n/LanguageLines.h"
#include "i18n/LanguageTable.h"
#include "resources/resource.h"

namespace vok {

namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;

// A heading that no language file translates.
constexpr int kFixedHeading = -1;

// One column: its format, whose "%s" receive the headings in order, and the
// language lines of those headings. The names, markers and line breaks are
// fixed text.
struct Column {
    const char* format;
    int headings[5];
    int headingCount;
};

const Column kColumns[kCreditsColumns] = {
    {"%s\n - Maren Holt\n - Jonas Brink\n - Elsa Varg"
     "\n\n%s\n - Pekka Ruusu\n - Ida Stenvall"
     "\n\n%s\n - Rune Falkner\n - Lotta Grahn\n - Nils Ekberg\n - Saga Lindmark"
     "\n\n%s\n - Viktor Ahlgren\n - Hedda Moss",
     {lines::kCreditsGameDesign, lines::kCreditsProgramming, lines::kCreditsGraphics,
      lines::kCreditsSound},
     4},
    {"%s\n - Arvid Kralle"
     "\n\n%s\n - Tove Bergsand\n - Jonas Brink"
     "\n\n%s\n - Mikko Salvela\n - Frida Norrby"
     "\n\n%s\n - Elsa Varg\n - Oskar Tennby"
     "\n\n%s\n - Sigrid Haver\n - Pekka Ruusu",
     {lines::kCreditsProducer, lines::kCreditsArenaDesign, lines::kCreditsTesting,
      lines::kCreditsStory, lines::kCreditsTranslation},
     5},
    {"%s\n - Halvard Ostmark"
     "\n\n%s\n - Linnea Dahlquist\n - Teodor Vinge"
     "\n\n%s\n - Rune Falkner\n - Ida Stenvall"
     "\n\n%s\n - Greta Solberg"
     "\n\n%s\n - Brackenmoor Games",
     {lines::kCreditsExecutiveProducer, lines::kCreditsVoices, kFixedHeading, lines::kCreditsThanks,
      lines::kCreditsPublisher},
     5},
};

const char* Heading(const LanguageTable& language, int line) {
    return line == kFixedHeading ? "DEMO" : language.Text(line);
}

}  // namespace

int ComposeCreditsColumn(int column, const LanguageTable& language,
                         char (&buffer)[kCreditsBufferSize]) {
    buffer[0] = '\0';
    if (column < 0 || column >= kCreditsColumns) {
        return -1;
    }
    const Column& c = kColumns[column];
    const char* h[5] = {};
    for (int i = 0; i < c.headingCount; ++i) {
        h[i] = Heading(language, c.headings[i]);
    }
    // The formats ignore the arguments they have no "%s" for.
    int length = std::snprintf(buffer, sizeof buffer, c.format, h[0], h[1], h[2], h[3], h[4]);
    return length >= 0 && length < static_cast<int>(sizeof buffer) ? length : -1;
}

void OpenCredits(Ui& dialog, const LanguageTable& language) {
    dialog.SetCaption(language.Text(lines::kCreditsCaption));
    static const int kControls[kCreditsColumns] = {IDC_CREDITS_COLUMN1, IDC_CREDITS_COLUMN2,
                                                   IDC_CREDITS_COLUMN3};
    // One buffer for the three columns: each is set before the next is
    // composed.
    char buffer[kCreditsBufferSize];
    for (int column = 0; column < kCreditsColumns; ++column) {
        ComposeCreditsColumn(column, language, buffer);
        dialog.SetText(kControls[column], buffer);
    }
    dialog.SetText(kOk, language.Text(lines::kCreditsOk));
}

bool RunCreditsCommand(Ui& dialog, int id) {
    if (id != kOk && id != kCancel) {
        return false;
    }
    dialog.EndDialog(2);
    return true;
}

}  // namespace vok
