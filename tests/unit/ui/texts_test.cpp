// The program's own texts: the help text's fixed beginning and its
// addresses, what the about text must name, and that every text is
// Windows-1252 as the fonts expect, never UTF-8.
#include "ui/texts.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/font/windows1252.hpp"

namespace kbh {
namespace {

// How the help text begins, word for word.
constexpr std::string_view kHelpBeginning =
    "Bei dieser Version handelt es sich um ein Beta-Release.\n"
    "Das bedeutet, dass die wichtigsten Grundfunktionen zur Verf\xFCgung stehen.\n"
    "Um Programmfehler schnellstm\xF6glich zu finden und zu beseitigen, werden teilweise noch "
    "Kontrollausgaben auf dem Bildschirm erscheinen.\n"
    "Nicht alle dargestellten Funktionen,Buttons und Men\xFCpunkte sind verf\xFCgbar.\n"
    "Es erscheint dann ein entsprechender Hinweis.\n"
    "Am oberen Bildschirmrand werden allgemeine Performance-Informationen angezeigt\n"
    "(Frame-Rate, Vertice-Anzahl).\n"
    "\n"
    "Bedienung\n"
    "\n"
    "Viele der Bedienelemente sind durch ihr Aussehen selbsterkl\xE4rend und werden daher "
    "vorl\xE4ufig nicht explizit aufgef\xFChrt.\n"
    "Die Bedienung geschieht ausschlie\xDFlich mit Hilfe der Maus.\n"
    "Aktive oder momentan gew\xE4hlte Schaltfl\xE4"
    "chen sind meist mit einem Leuchteffekt "
    "versehen.\n"
    "\n"
    "Programmfehler/Feedback\n"
    "\n"
    "Bei unerwartet auftretenden Fehlern, Programmabst\xFCrzen, Bedienungsschwierigkeiten, "
    "Hinweisen, Tipps, Ideen o.\xE4. schickt bitte unbedingt eine E-Mail an:\n"
    "\n"
    "\t";
// Whether text begins with an address under example.org that runs to the
// end or to a line feed: a mail address or, without '@', a web address. Its
// length in *length.
bool IsExampleAddress(std::string_view text, bool mail, size_t* length) {
  const size_t end = std::min(text.find('\n'), text.size());
  const std::string_view address = text.substr(0, end);
  *length = end;
  const bool hasAt = address.find('@') != std::string_view::npos;
  return hasAt == mail && address.ends_with("example.org") &&
         address.find_first_of(" \t") == std::string_view::npos;
}

TEST(Texts, HelpBeginsWithTheBetaNoticeAndEndsWithTheProjectsAddresses) {
  const std::string_view help = kHelpText;
  ASSERT_TRUE(help.starts_with(kHelpBeginning));
  std::string_view rest = help.substr(kHelpBeginning.size());
  size_t length = 0;
  ASSERT_TRUE(IsExampleAddress(rest, true, &length)) << rest;
  rest.remove_prefix(length);
  constexpr std::string_view kWebLead = "\n\nWeitere Infos findest du auf\n\n\t        ";
  ASSERT_TRUE(rest.starts_with(kWebLead)) << rest;
  rest.remove_prefix(kWebLead.size());
  EXPECT_TRUE(IsExampleAddress(rest, false, &length)) << rest;
  EXPECT_EQ(length, rest.size()) << "the web address ends the text";
}

TEST(Texts, AboutNamesProductVersionTeamAndWebSite) {
  const std::string_view about = kAboutText;
  EXPECT_TRUE(about.starts_with("3D-Kolbenhof\nVersion 0.1.0")) << about.substr(0, 40);
  EXPECT_NE(about.find("3D-Kolbenhof-Team"), std::string_view::npos);
  EXPECT_NE(about.find("kolbenhof.example.org"), std::string_view::npos);
  EXPECT_NE(about.find("Haftung"), std::string_view::npos);
}

TEST(Texts, EveryTextIsPrintableWindows1252WithItsUmlautsAsSingleBytes) {
  const char* texts[] = {kHelpText, kAboutText, kSellerIntroText};
  for (const char* text : texts) {
    SCOPED_TRACE(std::string(text, 30));
    bool umlaut = false;
    for (size_t i = 0; text[i] != '\0'; ++i) {
      const uint8_t byte = static_cast<uint8_t>(text[i]);
      EXPECT_TRUE(byte == '\n' || byte == '\t' || IsPrintableWindows1252(byte)) << i;
      // A UTF-8 umlaut would be 0xC3 and a continuation byte.
      const uint8_t next = static_cast<uint8_t>(text[i + 1]);
      EXPECT_FALSE(byte == 0xC3 && next >= 0x80 && next <= 0xBF) << "UTF-8 at " << i;
      umlaut = umlaut || byte == 0xE4 || byte == 0xF6 || byte == 0xFC || byte == 0xDF;
    }
    EXPECT_TRUE(umlaut) << "German text without a single umlaut or sharp s";
  }
}

}  // namespace
}  // namespace kbh
