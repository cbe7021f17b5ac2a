#include "tools/make_demo_disc/disc_content.h"

namespace kelvox::demo {

namespace {

const QSize small(320, 240);
const QSize medium(400, 300);
const QSize large(640, 480);

DemoEntry entry(const char* name, const char* directory, EntryKind kind, const char* description,
                const char* requirements, const char* type, Scene scene, int pictures, QSize size = medium) {
    const QString title = QString::fromUtf8(name);
    return {title,
            QString::fromUtf8(directory),
            kind,
            title,
            QString::fromUtf8(description),
            QString::fromUtf8(requirements),
            QString::fromUtf8(type),
            scene,
            pictures,
            size};
}

constexpr auto exe = EntryKind::program;
constexpr auto bat = EntryKind::batch;
constexpr auto txt = EntryKind::text_document;
constexpr auto html = EntryKind::html_document;
constexpr auto rar = EntryKind::archive;

const char* const win98 = "Windows 95/98, Pentium 166 MHz, 32 MB RAM, DirectX 7.0";
const char* const win98_3d = "Windows 98/ME, Pentium II 300 MHz, 64 MB RAM, karta 3D";
const char* const winxp = "Windows 98/2000/XP, 128 MB RAM, 20 MB na dysku";

std::vector<DemoEntry> games() {
    return {
        entry("Kosmiczny Rajd", "gry\\kosmiczny_rajd", exe,
              "Szybka strzelanina w przestworzach. Pilotujesz mały myśliwiec i bronisz stacji górniczych "
              "przed falami najeźdźców z pasa planetoid.",
              win98_3d, "DEMO - INSTALUJ", Scene::space, 5),
        entry("Nocny Kierowca", "gry\\nocny_kierowca", exe,
              "Wyścigi ulicami miasta po zmroku. Trzy trasy, pięć samochodów i policja, która nie zna "
              "litości dla piratów drogowych.",
              win98_3d, "DEMO - INSTALUJ", Scene::racing, 4, large),
        entry("Twierdza Mroku", "gry\\twierdza_mroku", rar,
              "Wędrówka przez lochy pełne pułapek i potworów. Zbieraj klucze, rozmawiaj ze strażnikami i "
              "odkryj, kto rzucił klątwę na zamek.",
              win98, "ARCHIWUM RAR", Scene::dungeon, 3),
        entry("Wyspa Kupców", "gry\\wyspa_kupcow", exe,
              "Strategia ekonomiczna: zakładasz osadę, budujesz porty i handlujesz z sąsiadami, a gdy "
              "trzeba, bronisz wybrzeża przed piratami.",
              win98, "DEMO - INSTALUJ", Scene::strategy, 4),
        entry("Skaczący Bob", "gry\\skaczacy_bob", exe,
              "Wesoła platformówka dla całej rodziny. Bob skacze po chmurach, zbiera monety i ratuje "
              "przyjaciół z rąk złośliwego czarodzieja.",
              "Windows 95/98, 16 MB RAM", "FREEWARE", Scene::platformer, 3, small),
        entry("Głębia", "gry\\glebia", exe,
              "Spokojna przygoda pod wodą. Nurkujesz wśród raf, fotografujesz ryby i szukasz wraku "
              "statku, który zatonął sto lat temu.",
              win98, "DEMO - INSTALUJ", Scene::underwater, 2),
        entry("Mistrz Szachownicy", "gry\\mistrz_szachownicy", exe,
              "Szachy z programem, który uczy się twoich ruchów. Dziesięć poziomów trudności, analiza "
              "partii i zbiór słynnych zadań.",
              "Windows 95/98/XP, 8 MB RAM", "SHAREWARE", Scene::board, 2, small),
        entry("Czołgi 2", "gry\\czolgi_2", rar,
              "Druga część pojedynków pancernych na zniszczalnych planszach. Gra dla dwóch osób przy "
              "jednej klawiaturze lub przez sieć lokalną.",
              win98, "ARCHIWUM RAR", Scene::strategy, 2),
        entry("Stacja Orion", "gry\\stacja_orion", exe,
              "Zarządzasz stacją kosmiczną na orbicie gazowego olbrzyma. Dbaj o tlen, energię i humory "
              "załogi, zanim przyleci kolejny transport.",
              win98_3d, "DEMO - INSTALUJ", Scene::space, 3),
        entry("Rajd Pustyni", "gry\\rajd_pustyni", exe,
              "Terenowe wyścigi przez wydmy i kaniony. Dzienny etap w pełnym słońcu i nocny odcinek "
              "specjalny tylko w świetle reflektorów.",
              win98_3d, "DEMO - INSTALUJ", Scene::racing, 3),
        entry("Labirynt Cieni", "gry\\labirynt_cieni", exe,
              "Mroczna gra logiczna. Przesuwasz lustra i latarnie tak, aby światło dotarło do wyjścia, "
              "zanim cienie zamkną przejścia.",
              "Windows 95/98, 16 MB RAM", "SHAREWARE", Scene::dungeon, 2),
        entry("Farma Pana Kazia", "gry\\farma_pana_kazia", exe,
              "Sielska gra ekonomiczna: siejesz, zbierasz, hodujesz kury i sprzedajesz plony na targu "
              "w pobliskim miasteczku.",
              "Windows 95/98, 32 MB RAM", "DEMO - INSTALUJ", Scene::strategy, 3, small),
        entry("Podwodna Misja", "gry\\podwodna_misja", rar,
              "Dowodzisz małą łodzią badawczą. Mapujesz dno oceanu, omijasz miny z dawnej wojny i "
              "ratujesz uwięzionych nurków.",
              win98, "ARCHIWUM RAR", Scene::underwater, 3),
        entry("Smocza Dolina", "gry\\smocza_dolina", exe,
              "Gra fabularna w krainie smoków. Tworzysz drużynę czterech bohaterów i przemierzasz dolinę "
              "od wioski rybaków po lodowe szczyty.",
              win98_3d, "DEMO - INSTALUJ", Scene::dungeon, 4),
        entry("Wielka Ucieczka", "gry\\wielka_ucieczka", bat,
              "Klasyczna gra zręcznościowa w okienku tekstowym. Uruchamiana plikiem wsadowym, działa "
              "nawet na najstarszych komputerach.",
              "DOS 6.22 lub okno MS-DOS, 4 MB RAM", "URUCHOM", Scene::platformer, 1, small),
        entry("Galaktyczny Kupiec", "gry\\galaktyczny_kupiec", exe,
              "Handel między gwiazdami. Kupuj tanio na rolniczych planetach, sprzedawaj drogo w "
              "stoczniach i uważaj na przemytników.",
              win98, "SHAREWARE", Scene::space, 2),
        entry("Lodowa Kraina", "gry\\lodowa_kraina", exe,
              "Zjeżdżasz na sankach z ośnieżonych gór, omijając choinki, bałwany i rozpędzone "
              "pingwiny. Dwadzieścia tras i edytor własnych.",
              "Windows 95/98, 16 MB RAM", "FREEWARE", Scene::platformer, 2),
        entry("Bitwa o Wyspę", "gry\\bitwa_o_wyspe", exe,
              "Strategia czasu rzeczywistego na archipelagu. Budujesz flotę, zdobywasz latarnie i "
              "odcinasz przeciwnikowi drogi zaopatrzenia.",
              win98_3d, "DEMO - INSTALUJ", Scene::strategy, 5),
        entry("Karciany Turniej", "gry\\karciany_turniej", exe,
              "Zbiór gier karcianych i planszowych: warcaby, szachy błyskawiczne i trzy odmiany "
              "pasjansa z tabelą najlepszych wyników.",
              "Windows 95/98/XP, 8 MB RAM", "FREEWARE", Scene::board, 1),
        entry("Miasto w Chmurach", "gry\\miasto_w_chmurach", exe,
              "Budujesz podniebne miasto na sterowcach. Każda dzielnica musi mieć dość prądu, wody i "
              "wiatru w żaglach, żeby nie opaść.",
              win98, "DEMO - INSTALUJ", Scene::strategy, 2),
        entry("Ostatni Bastion", "gry\\ostatni_bastion", rar,
              "Obrona twierdzy przed nadciągającą armią. Stawiasz wieże, kopiesz fosy i decydujesz, "
              "których mieszkańców ukryć za murami.",
              win98, "ARCHIWUM RAR", Scene::strategy, 2),
        entry("Sokoli Lot", "gry\\sokoli_lot", exe,
              "Symulator lotu szybowcem nad górami. Wykorzystujesz prądy wznoszące, żeby jak najdłużej "
              "utrzymać się w powietrzu.",
              win98_3d, "DEMO - INSTALUJ", Scene::racing, 2),
        entry("Kopalnia Złota", "gry\\kopalnia_zlota", exe,
              "Kopiesz coraz głębiej, zbierasz bryłki i sprzedajesz je, żeby kupić lepszy kilof, "
              "latarkę i wózek na szynach.",
              "Windows 95/98, 16 MB RAM", "SHAREWARE", Scene::platformer, 3),
        entry("Tajemnica Latarni", "gry\\tajemnica_latarni", exe,
              "Przygodówka w starym stylu. Na wyspie zgasła latarnia, a jej strażnik zniknął. Rozmawiaj z "
              "mieszkańcami i zbieraj przedmioty.",
              win98, "DEMO - INSTALUJ", Scene::dungeon, 3),
        entry("Robo Liga", "gry\\robo_liga", exe,
              "Piłka nożna robotów. Programujesz zawodników prostymi poleceniami, a potem patrzysz, jak "
              "twoja drużyna radzi sobie na boisku.",
              "", "DEMO - INSTALUJ", Scene::board, 0),
        entry("Dżungla Express", "gry\\dzungla_express", exe,
              "Prowadzisz kolejkę przez dżunglę. Układasz tory, omijasz rzeki i wulkany, a pasażerowie "
              "płacą za każdą stację na czas.",
              win98, "DEMO - INSTALUJ", Scene::strategy, 2, small),
        entry("Skok w Nieznane", "gry\\skok_w_nieznane", exe,
              "Zręcznościowa gra o spadochroniarzu. Otwierasz czaszę w ostatniej chwili i lądujesz na "
              "coraz mniejszych wysepkach.",
              "Windows 95/98, 16 MB RAM", "FREEWARE", Scene::platformer, 1),
        entry("Rycerze Okrągłej Ławy", "gry\\rycerze_okraglej_lawy", exe,
              "Humorystyczna gra przygodowa o rycerzach, którzy zamiast stołu mieli tylko ławę. Czeka "
              "ich wyprawa po nowe meble.",
              win98, "DEMO - INSTALUJ", Scene::dungeon, 2),
    };
}

std::vector<DemoEntry> programs() {
    return {
        entry("Pisarz 2000", "programy\\pisarz_2000", exe,
              "Edytor tekstu z polskim słownikiem, szablonami listów i eksportem do stron WWW. Pełna "
              "wersja dla czytelników naszego pisma.",
              winxp, "PEŁNA WERSJA", Scene::app_window, 3),
        entry("Rachmistrz", "programy\\rachmistrz", exe,
              "Domowy budżet pod kontrolą: wydatki, rachunki i oszczędności w przejrzystych tabelach i "
              "wykresach, z przypomnieniami o terminach.",
              winxp, "SHAREWARE", Scene::chart, 2),
        entry("Fonoteka", "programy\\fonoteka", rar,
              "Odtwarzacz muzyki z listami utworów, korektorem graficznym i bazą płyt. Odczytuje opisy "
              "utworów i pokazuje widmo dźwięku.",
              "Windows 98/ME/XP, 32 MB RAM", "ARCHIWUM RAR", Scene::player, 2),
        entry("Kreślarz", "programy\\kreslarz", exe,
              "Prosty program do rysunku technicznego: warstwy, wymiary, siatka i wydruk w skali. "
              "Wystarczy do planu mieszkania lub działki.",
              winxp, "FREEWARE", Scene::app_window, 2, large),
        entry("Instrukcja Pisarza", "programy\\pisarz_instrukcja", html,
              "Podręcznik edytora Pisarz 2000 w formie strony WWW: pierwsze kroki, skróty klawiszowe i "
              "odpowiedzi na częste pytania.",
              "dowolna przeglądarka WWW", "OTWÓRZ", Scene::app_window, 1),
        entry("Kalendarz Domowy", "programy\\kalendarz_domowy", exe,
              "Terminarz z imieninami, świętami i przypomnieniami. Drukuje kalendarz na ścianę z "
              "własnymi zdjęciami.",
              "", "FREEWARE", Scene::chart, 0),
    };
}

std::vector<DemoEntry> tools() {
    return {
        entry("Sprzątacz Dysku", "narzedzia\\sprzatacz_dysku", exe,
              "Znajduje pliki tymczasowe, duplikaty i puste katalogi, a potem pyta, co usunąć. Nic nie "
              "znika bez twojej zgody.",
              winxp, "SHAREWARE", Scene::installer, 2),
        entry("Archiwista", "narzedzia\\archiwista", rar,
              "Program do pakowania i rozpakowywania archiwów z wygodnym podglądem zawartości. Na płycie "
              "w postaci archiwum do rozpakowania.",
              winxp, "ARCHIWUM RAR", Scene::app_window, 2),
        entry("Test Pamięci", "narzedzia\\test_pamieci", bat,
              "Uruchamia krótki test pamięci i dysku z wiersza poleceń, a wynik zapisuje w pliku "
              "tekstowym obok programu.",
              "Windows 95/98, okno MS-DOS", "URUCHOM", Scene::installer, 1, small),
        entry("Zegarmistrz", "narzedzia\\zegarmistrz", exe,
              "Synchronizuje zegar komputera z serwerem czasu i pokazuje strefy czasowe całego świata "
              "na jednej mapie.",
              "Windows 98/2000/XP, połączenie z Internetem", "FREEWARE", Scene::chart, 1),
    };
}

std::vector<DemoEntry> extras() {
    return {
        entry("Od redakcji", "dodatki\\od_redakcji", txt,
              "Słowo wstępne redakcji: co znajdziesz na płycie, jak ją obsługiwać i gdzie szukać pomocy, "
              "gdy coś nie działa.",
              "Notatnik lub dowolny edytor tekstu", "CZYTAJ", Scene::app_window, 0),
        entry("Poradnik: sieć domowa", "dodatki\\siec_domowa", html,
              "Krok po kroku łączymy dwa komputery kablem, udostępniamy drukarkę i wspólne łącze do "
              "Internetu.",
              "dowolna przeglądarka WWW", "OTWÓRZ", Scene::chart, 2),
        entry("Tapety Kelvox", "dodatki\\tapety", rar,
              "Zestaw tapet na pulpit w zielonych barwach okładki. Rozpakuj je do wybranego katalogu i "
              "ustaw we właściwościach ekranu.",
              "", "ARCHIWUM RAR", Scene::space, 4, large),
        entry("Lista zmian", "dodatki\\lista_zmian", txt,
              "Poprawki i nowości w programach z poprzednich numerów, zebrane w jednym pliku tekstowym.", "",
              "CZYTAJ", Scene::installer, 0),
    };
}

} // namespace

const std::vector<DemoSection>& demo_sections() {
    static const std::vector<DemoSection> sections = {
        {QStringLiteral("Gry"), QStringLiteral("Gry: 28 wersji demo i pełnych gier!"), games()},
        {QStringLiteral("Programy"), QStringLiteral("Programy: Pisarz 2000 w pełnej wersji"), programs()},
        {QStringLiteral("Narzędzia"), QStringLiteral("Narzędzia: porządki, archiwa i testy"), tools()},
        {QStringLiteral("Dodatki"), QStringLiteral("Dodatki: poradniki, tapety i więcej"), extras()},
    };
    return sections;
}

QString entry_file_name(const DemoEntry& entry) {
    switch (entry.kind) {
    case EntryKind::program:
        return QStringLiteral("instaluj.exe");
    case EntryKind::batch:
        return QStringLiteral("uruchom.bat");
    case EntryKind::text_document:
        return QStringLiteral("czytaj.txt");
    case EntryKind::html_document:
        return QStringLiteral("index.html");
    case EntryKind::archive:
        return entry.directory.section(QLatin1Char('\\'), -1) + QStringLiteral(".rar");
    }
    return {};
}

QString entry_file_path(const DemoEntry& entry) {
    return entry.directory + QLatin1Char('\\') + entry_file_name(entry);
}

QString entry_picture_path(const DemoEntry& entry, int index) {
    return entry.directory + QStringLiteral("\\ekran%1.jpg").arg(index + 1);
}

} // namespace kelvox::demo
