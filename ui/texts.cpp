#include "ui/texts.hpp"

// KBH_VERSION is the project's version, given by the build.

namespace kbh {

// Begins with the beta notice and the operating notes; the addresses are the project's own.
const char kHelpText[] =
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
    "\twerkstatt@example.org\n"
    "\n"
    "Weitere Infos findest du auf\n"
    "\n"
    "\t        kolbenhof.example.org";

// Title, version, credits, rights, the web site and the disclaimer.
const char kAboutText[] =
    "3D-Kolbenhof\n"
    "Version " KBH_VERSION
    " (Beta)\n"
    "\n"
    "Idee:\n"
    "\tdas 3D-Kolbenhof-Team\n"
    "Programmierung:\n"
    "\tdas 3D-Kolbenhof-Team\n"
    "Grafik und 3D-Design:\n"
    "\tdas 3D-Kolbenhof-Team\n"
    "\n"
    "Alle Rechte an Programm, Grafiken und 3D-Daten liegen beim 3D-Kolbenhof-Team. Diese "
    "Beta-Version ist ausschlie\xDFlich zum Testen bestimmt und darf ohne unsere "
    "ausdr\xFC"
    "ckliche Zustimmung weder weitergegeben noch ver\xF6"
    "ffentlicht werden.\n"
    "\n"
    "Das Programm darf nicht zur\xFC"
    "ckentwickelt, disassembliert oder dekompiliert werden. "
    "Grafiken und 3D-Daten d\xFCrfen weder aus dem Programm herausgel\xF6st noch in anderen Werken "
    "verwendet werden.\n"
    "\n"
    "Neuigkeiten und neue Versionen findest du auf\n"
    "\n"
    "\tkolbenhof.example.org\n"
    "\n"
    "Haftungsausschluss\n"
    "\n"
    "Die Nutzung dieser Beta-Version geschieht auf eigene Gefahr. F\xFCr Sch\xE4"
    "den an Hard- "
    "und Software, f\xFCr Datenverluste und f\xFCr alle anderen Folgen ihrer Verwendung "
    "\xFC"
    "bernimmt das 3D-Kolbenhof-Team keine Haftung.";

// The description box's first text; a chosen part replaces it before it shows.
const char kSellerIntroText[] =
    "Brenninger \x96 Mopeds und Zweiradteile seit 1952\n"
    "\n"
    "Angefangen hat alles 1952 in einer kleinen Schlosserei am Stadtrand: Dort wurden die ersten "
    "Brenninger-Rahmen noch von Hand gebogen, gel\xF6tet und geschwei\xDFt. Aus den Rahmen wurden "
    "bald ganze Mopeds \x96 sparsam, robust und mit so viel Chrom, dass sie vor jeder Eisdiele "
    "auffielen.\n"
    "\n"
    "Bis heute baut Brenninger seine Mopeds aus Teilen, die sich untereinander tauschen lassen. "
    "Rahmen, Gabeln und Lenker kommen aus dem eigenen Werk, R\xE4"
    "der, Tanks, Sitzb\xE4nke, "
    "Auspuffanlagen und Beleuchtung von langj\xE4hrigen Partnern aus dem Zweiradhandwerk.\n"
    "\n"
    "W\xE4hlen Sie unten links ein Teil, und Sie erfahren hier, wer es fertigt, was es kann und "
    "was es kostet.";

}  // namespace kbh
