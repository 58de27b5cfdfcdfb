#!/usr/bin/env python3
"""Writes the nine language files of the sample data root, and the header of
the lines the launcher shows by name (src/i18n/LanguageLines.h), from one
table.

The launcher and the game look every text up by its zero-based line number, so
a language file is nothing but its lines in order. This table is the one place
where the texts are edited: each entry holds one line number and its text in
every language. The files are written in the ANSI code page of their language,
with CR LF line ends, because the launcher hands the bytes unchanged to the
ANSI Windows functions.

    python3 scripts/make_language_files.py           # write the files
    python3 scripts/make_language_files.py --check   # exit 1 if a file differs

The checks below refuse texts that would show badly or break a format: see
docs/translators.md.
"""

import argparse
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
DATA_ROOT = ROOT / "sample"
OUTPUT_DIR = DATA_ROOT / "data" / "language"
HEADER = ROOT / "src" / "i18n" / "LanguageLines.h"

# (code used in the table, file name, Windows ANSI code page)
LANGUAGES = [
    ("en", "english.txt", "cp1252"),
    ("sv", "swedish.txt", "cp1252"),
    ("no", "norwegian.txt", "cp1252"),
    ("fi", "finnish.txt", "cp1252"),
    ("da", "danish.txt", "cp1252"),
    ("de", "german.txt", "cp1252"),
    ("fr", "french.txt", "cp1252"),
    ("es", "spanish.txt", "cp1252"),
    ("pl", "polish.txt", "cp1250"),
]
CODES = [code for code, _, _ in LANGUAGES]

# The launcher reads a line as at most 499 characters.
MAX_LINE = 499

TABLE = []


def line(number, use, name=None, room=None, fallback=False, **texts):
    """Adds line `number`; `use` says where the launcher shows it (None: only
    the game reads it). `name` is what the launcher's code and tests call it,
    `room` the longest text, "&" not counted, that fits where it is shown
    (widths for "MS Sans Serif" 8 pt, about 6 pixels a character), and
    `fallback` marks a line that language files made before it lack: the
    launcher then shows its English text. `all` gives one text for every
    language."""
    if "all" in texts:
        texts = {code: texts["all"] for code in CODES}
    TABLE.append((number, use, texts, name, room, fallback))


# --- Lines 0 to 43: the game's own texts -------------------------------------

line(0, None, en="Start game", sv="Starta spelet", no="Start spillet", fi="Aloita peli",
     da="Start spillet", de="Spiel starten", fr="Démarrer la partie", es="Empezar partida",
     pl="Rozpocznij grę")
line(1, None, en="Options", sv="Inställningar", no="Innstillinger", fi="Asetukset",
     da="Indstillinger", de="Optionen", fr="Options", es="Opciones", pl="Opcje")
line(2, None, en="Quit", sv="Avsluta", no="Avslutt", fi="Lopeta", da="Afslut", de="Beenden",
     fr="Quitter", es="Salir", pl="Wyjdź")
line(3, None, en="Resume", sv="Fortsätt", no="Fortsett", fi="Jatka", da="Fortsæt",
     de="Weiter", fr="Reprendre", es="Continuar", pl="Wznów")
line(4, None, en="Back", sv="Tillbaka", no="Tilbake", fi="Takaisin", da="Tilbage",
     de="Zurück", fr="Retour", es="Volver", pl="Wstecz")
line(5, None, en="Sound volume", sv="Ljudvolym", no="Lydvolum", fi="Äänenvoimakkuus",
     da="Lydstyrke", de="Lautstärke", fr="Volume des effets", es="Volumen de efectos",
     pl="Głośność efektów")
line(6, None, en="Music volume", sv="Musikvolym", no="Musikkvolum", fi="Musiikin voimakkuus",
     da="Musiklydstyrke", de="Musiklautstärke", fr="Volume de la musique",
     es="Volumen de la música", pl="Głośność muzyki")
line(7, None, en="Screen resolution", sv="Skärmupplösning", no="Skjermoppløsning",
     fi="Näytön tarkkuus", da="Skærmopløsning", de="Bildschirmauflösung",
     fr="Résolution de l'écran", es="Resolución de pantalla", pl="Rozdzielczość ekranu")
line(8, None, en="Controls", sv="Kontroller", no="Kontroller", fi="Ohjaimet", da="Styring",
     de="Steuerung", fr="Commandes", es="Controles", pl="Sterowanie")
line(9, None, en="Player 1", sv="Spelare 1", no="Spiller 1", fi="Pelaaja 1", da="Spiller 1",
     de="Spieler 1", fr="Joueur 1", es="Jugador 1", pl="Gracz 1")
line(10, None, en="Player 2", sv="Spelare 2", no="Spiller 2", fi="Pelaaja 2", da="Spiller 2",
     de="Spieler 2", fr="Joueur 2", es="Jugador 2", pl="Gracz 2")
line(11, None, en="Round", sv="Rond", no="Runde", fi="Erä", da="Omgang", de="Runde",
     fr="Manche", es="Asalto", pl="Runda")
line(12, None, en="Fight!", sv="Slåss!", no="Slåss!", fi="Taistele!", da="Kæmp!",
     de="Kampf!", fr="Combattez !", es="¡A luchar!", pl="Walcz!")
line(13, None, en="Round over", sv="Ronden är slut", no="Runden er over", fi="Erä päättyi",
     da="Omgangen er slut", de="Runde vorbei", fr="Fin de la manche", es="Fin del asalto",
     pl="Koniec rundy")
line(14, None, en="wins the round", sv="vinner ronden", no="vinner runden",
     fi="voittaa erän", da="vinder omgangen", de="gewinnt die Runde",
     fr="remporte la manche", es="gana el asalto", pl="wygrywa rundę")
line(15, None, en="wins the match", sv="vinner matchen", no="vinner kampen",
     fi="voittaa ottelun", da="vinder kampen", de="gewinnt das Match",
     fr="remporte le match", es="gana el combate", pl="wygrywa mecz")
line(16, None, en="Draw", sv="Oavgjort", no="Uavgjort", fi="Tasapeli", da="Uafgjort",
     de="Unentschieden", fr="Match nul", es="Empate", pl="Remis")
line(17, None, en="Time is up", sv="Tiden är ute", no="Tiden er ute", fi="Aika loppui",
     da="Tiden er gået", de="Die Zeit ist um", fr="Temps écoulé", es="Se acabó el tiempo",
     pl="Koniec czasu")
line(18, None, en="Knockout!", sv="Knockout!", no="Knockout!", fi="Tyrmäys!",
     da="Knockout!", de="K.o.!", fr="K.-O. !", es="¡K.O.!", pl="Nokaut!")
line(19, None, en="Paused", sv="Pausat", no="Pause", fi="Tauko", da="Pause", de="Pause",
     fr="Pause", es="Pausa", pl="Pauza")
line(20, None, en="Press any key", sv="Tryck på valfri tangent", no="Trykk på en tast",
     fi="Paina mitä tahansa näppäintä", da="Tryk på en tast", de="Beliebige Taste drücken",
     fr="Appuyez sur une touche", es="Pulsa cualquier tecla", pl="Naciśnij dowolny klawisz")
line(21, None, en="Loading...", sv="Laddar...", no="Laster...", fi="Ladataan...",
     da="Indlæser...", de="Wird geladen...", fr="Chargement...", es="Cargando...",
     pl="Wczytywanie...")
line(22, None, en="Choose your vok", sv="Välj din vok", no="Velg din vok",
     fi="Valitse vokisi", da="Vælg din vok", de="Vok wählen", fr="Choisissez votre vok",
     es="Elige tu vok", pl="Wybierz swojego voka")
line(23, None, en="Arena", sv="Arena", no="Arena", fi="Areena", da="Arena", de="Arena",
     fr="Arène", es="Arena", pl="Arena")
line(24, None, en="Lives", sv="Liv", no="Liv", fi="Elämät", da="Liv", de="Leben",
     fr="Vies", es="Vidas", pl="Życia")
line(25, None, en="Energy", sv="Energi", no="Energi", fi="Energia", da="Energi",
     de="Energie", fr="Énergie", es="Energía", pl="Energia")
line(26, None, en="Score", sv="Poäng", no="Poeng", fi="Pisteet", da="Point", de="Punkte",
     fr="Score", es="Puntuación", pl="Wynik")
line(27, None, en="Best score", sv="Bästa poäng", no="Beste poengsum", fi="Parhaat pisteet",
     da="Bedste score", de="Bestleistung", fr="Meilleur score", es="Mejor puntuación",
     pl="Najlepszy wynik")
line(28, None, en="Perfect round", sv="Perfekt rond", no="Perfekt runde",
     fi="Täydellinen erä", da="Perfekt omgang", de="Perfekte Runde", fr="Manche parfaite",
     es="Asalto perfecto", pl="Perfekcyjna runda")
line(29, None, en="Double hit", sv="Dubbelträff", no="Dobbelttreff", fi="Tuplaosuma",
     da="Dobbelt træffer", de="Doppeltreffer", fr="Double coup", es="Golpe doble",
     pl="Podwójne trafienie")
line(30, None, en="Counter attack", sv="Motattack", no="Motangrep", fi="Vastahyökkäys",
     da="Modangreb", de="Konter", fr="Contre-attaque", es="Contraataque", pl="Kontratak")
line(31, None, en="Special move", sv="Specialattack", no="Spesialangrep",
     fi="Erikoisliike", da="Specialangreb", de="Spezialangriff", fr="Coup spécial",
     es="Movimiento especial", pl="Ruch specjalny")
line(32, None, en="Bite", sv="Bett", no="Bitt", fi="Purema", da="Bid", de="Biss",
     fr="Morsure", es="Mordisco", pl="Ugryzienie")
line(33, None, en="Claw", sv="Klo", no="Klo", fi="Kynsi", da="Klo", de="Klaue",
     fr="Griffe", es="Zarpazo", pl="Pazur")
line(34, None, en="Tail swipe", sv="Svansslag", no="Haleslag", fi="Hännänisku",
     da="Haleslag", de="Schwanzhieb", fr="Coup de queue", es="Coletazo", pl="Cios ogonem")
line(35, None, en="Jump", sv="Hopp", no="Hopp", fi="Hyppy", da="Hop", de="Sprung",
     fr="Saut", es="Salto", pl="Skok")
line(36, None, en="Block", sv="Blockera", no="Blokker", fi="Torju", da="Blokér",
     de="Blocken", fr="Parade", es="Bloquear", pl="Blok")
line(37, None, en="Roar", sv="Vrål", no="Brøl", fi="Karjaisu", da="Brøl", de="Brüllen",
     fr="Rugissement", es="Rugido", pl="Ryk")
line(38, None, en="League table", sv="Ligatabell", no="Ligatabell", fi="Sarjataulukko",
     da="Ligatabel", de="Ligatabelle", fr="Classement de la ligue",
     es="Clasificación de la liga", pl="Tabela ligi")
line(39, None, en="Played", sv="Spelade", no="Spilt", fi="Pelatut", da="Spillet",
     de="Gespielt", fr="Joués", es="Jugados", pl="Rozegrane")
line(40, None, en="Won", sv="Vunna", no="Vunnet", fi="Voitot", da="Vundet", de="Gewonnen",
     fr="Gagnés", es="Ganados", pl="Wygrane")
line(41, None, en="Lost", sv="Förlorade", no="Tapt", fi="Tappiot", da="Tabt",
     de="Verloren", fr="Perdus", es="Perdidos", pl="Przegrane")
line(42, None, en="Points", sv="Poäng", no="Poeng", fi="Pisteet", da="Point", de="Punkte",
     fr="Points", es="Puntos", pl="Punkty")
line(43, None, en="Next match", sv="Nästa match", no="Neste kamp", fi="Seuraava ottelu",
     da="Næste kamp", de="Nächstes Match", fr="Match suivant", es="Siguiente combate",
     pl="Następny mecz")

# --- Lines 44 to 70: the launcher --------------------------------------------

line(44, "main menu button: practice",
     name="MenuPractice", room=28,
     en="Practice", sv="Träning", no="Trening", fi="Harjoittelu", da="Træning",
     de="Training", fr="Entraînement", es="Entrenamiento", pl="Trening")
line(45, "main menu button: single match",
     name="MenuSingleMatch", room=28,
     en="Start Single Match", sv="Starta enkel match", no="Start enkeltkamp",
     fi="Aloita yksittäinen ottelu", da="Start enkeltkamp", de="Einzelmatch starten",
     fr="Lancer un match simple", es="Iniciar combate individual",
     pl="Rozpocznij pojedynczy mecz")
line(46, "main menu button: new league",
     name="MenuNewLeague", room=28,
     en="Start a new Vok League", sv="Starta en ny Vok-liga", no="Start en ny Vok-liga",
     fi="Aloita uusi Vok-sarja", da="Start en ny Vok-liga", de="Neue Vok-Liga starten",
     fr="Nouvelle ligue Vok", es="Iniciar nueva liga Vok", pl="Rozpocznij nową ligę Vok")
line(47, "main menu button: load league",
     name="MenuLoadLeague", room=28,
     en="Load Vok League", sv="Ladda Vok-liga", no="Last inn Vok-liga", fi="Lataa Vok-sarja",
     da="Indlæs Vok-liga", de="Vok-Liga laden", fr="Charger la ligue Vok",
     es="Cargar liga Vok", pl="Wczytaj ligę Vok")
line(48, "main menu button: credits",
     name="MenuCredits", room=28,
     en="View Credits", sv="Visa medverkande", no="Vis medvirkende", fi="Näytä tekijät",
     da="Vis medvirkende", de="Mitwirkende anzeigen", fr="Voir les crédits",
     es="Ver créditos", pl="Pokaż twórców")
line(49, "main menu button: DirectX 8 setup",
     name="MenuDirectX", room=28,
     en="Install DirectX 8", sv="Installera DirectX 8", no="Installer DirectX 8",
     fi="Asenna DirectX 8", da="Installer DirectX 8", de="DirectX 8 installieren",
     fr="Installer DirectX 8", es="Instalar DirectX 8", pl="Zainstaluj DirectX 8")
line(50, "main menu button: licence agreement",
     name="MenuLicence", room=28,
     en="View Licence Agreement", sv="Visa licensavtalet", no="Vis lisensavtalen",
     fi="Näytä lisenssisopimus", da="Vis licensaftalen", de="Lizenzvertrag anzeigen",
     fr="Voir le contrat de licence", es="Ver el acuerdo de licencia",
     pl="Pokaż umowę licencyjną")
line(51, "main menu button: web site",
     name="MenuWebSite", room=28,
     en="Visit the Vok Web Site", sv="Besök Voks webbplats", no="Besøk Voks nettsted",
     fi="Käy Vokin verkkosivuilla", da="Besøg Voks websted", de="Vok im Internet",
     fr="Visiter le site de Vok", es="Visitar la web de Vok", pl="Odwiedź stronę Vok")
line(52, "main menu button: cancel (the letter after & is the keyboard shortcut)",
     name="MenuCancel", room=28,
     en="&Cancel", sv="&Avbryt", no="&Avbryt", fi="&Peruuta", da="&Annuller",
     de="&Abbrechen", fr="&Annuler", es="&Cancelar", pl="&Anuluj")
line(53, "licence document opened by the licence button, relative to the data root",
     name="LicenceFile",
     all="licence.txt")
line(54, "web address opened by the web site button",
     name="WebAddress",
     all="https://www.vok-game.example/")
line(55, "Yes/No question when DirectX 7 is missing; No quits the launcher",
     name="DirectXQuestion",
     en="Vok needs DirectX 7 or later, which was not found on this computer. "
        "Do you want to install DirectX 8 now? Choose No to quit.",
     sv="Vok behöver DirectX 7 eller senare, och det hittades inte på den här datorn. "
        "Vill du installera DirectX 8 nu? Välj Nej för att avsluta.",
     no="Vok trenger DirectX 7 eller nyere, og det ble ikke funnet på denne datamaskinen. "
        "Vil du installere DirectX 8 nå? Velg Nei for å avslutte.",
     fi="Vok tarvitsee DirectX 7:n tai uudemman, eikä sitä löytynyt tästä tietokoneesta. "
        "Haluatko asentaa DirectX 8:n nyt? Valitse Ei, jos haluat lopettaa.",
     da="Vok kræver DirectX 7 eller nyere, og det blev ikke fundet på denne computer. "
        "Vil du installere DirectX 8 nu? Vælg Nej for at afslutte.",
     de="Vok benötigt DirectX 7 oder neuer, das auf diesem Computer nicht gefunden wurde. "
        "Möchten Sie DirectX 8 jetzt installieren? Mit Nein wird Vok beendet.",
     fr="Vok nécessite DirectX 7 ou une version ultérieure, introuvable sur cet ordinateur. "
        "Voulez-vous installer DirectX 8 maintenant ? Choisissez Non pour quitter.",
     es="Vok necesita DirectX 7 o posterior, y no se ha encontrado en este equipo. "
        "¿Quieres instalar DirectX 8 ahora? Elige No para salir.",
     pl="Vok wymaga DirectX 7 lub nowszego, a nie znaleziono go na tym komputerze. "
        "Czy zainstalować teraz DirectX 8? Wybierz Nie, aby zakończyć.")
line(56, "create-league dialog: caption",
     name="LeagueCaption", room=40,
     en="Create Vok League", sv="Skapa Vok-liga", no="Opprett Vok-liga", fi="Luo Vok-sarja",
     da="Opret Vok-liga", de="Vok-Liga erstellen", fr="Créer une ligue Vok",
     es="Crear liga Vok", pl="Utwórz ligę Vok")
line(57, "create-league dialog: label of the league name",
     name="LeagueNameLabel", room=28,
     en="League name:", sv="Ligans namn:", no="Ligaens navn:", fi="Sarjan nimi:",
     da="Ligaens navn:", de="Name der Liga:", fr="Nom de la ligue :",
     es="Nombre de la liga:", pl="Nazwa ligi:")
line(58, "create-league dialog: label of the number of players",
     name="PlayersLabel", room=36,
     en="Number of players (2-12):", sv="Antal spelare (2-12):", no="Antall spillere (2-12):",
     fi="Pelaajien määrä (2-12):", da="Antal spillere (2-12):",
     de="Anzahl der Spieler (2-12):", fr="Nombre de joueurs (2-12) :",
     es="Número de jugadores (2-12):", pl="Liczba graczy (2-12):")
line(59, "create-league dialog: label of the league rounds",
     name="RoundsLabel", room=36,
     en="League rounds:", sv="Ligaomgångar:", no="Ligarunder:", fi="Sarjan kierrokset:",
     da="Ligarunder:", de="Ligarunden:", fr="Tours de la ligue :", es="Rondas de la liga:",
     pl="Rundy ligi:")
line(60, "create-league dialog: label of the voks per team",
     name="CreaturesLabel", room=36,
     en="Voks per team (1-5):", sv="Vokar per lag (1-5):", no="Voker per lag (1-5):",
     fi="Vokeja joukkueessa (1-5):", da="Vokker pr. hold (1-5):", de="Voks pro Team (1-5):",
     fr="Voks par équipe (1-5) :", es="Voks por equipo (1-5):", pl="Voki w drużynie (1-5):")
line(61, "create-league dialog: label of the lives per vok",
     name="LivesLabel", room=36,
     en="Lives per vok:", sv="Liv per vok:", no="Liv per vok:", fi="Elämiä vokia kohden:",
     da="Liv pr. vok:", de="Leben pro Vok:", fr="Vies par vok :", es="Vidas por vok:",
     pl="Życia na voka:")
line(62, "create-league dialog: OK button",
     name="LeagueOk", room=10,
     en="OK", sv="OK", no="OK", fi="OK", da="OK", de="OK", fr="OK", es="Aceptar", pl="OK")
line(63, "create-league dialog: Cancel button",
     name="LeagueCancel", room=10,
     en="Cancel", sv="Avbryt", no="Avbryt", fi="Peruuta", da="Annuller", de="Abbrechen",
     fr="Annuler", es="Cancelar", pl="Anuluj")
line(64, "player name prompt, followed by a blank and the player's number",
     name="PlayerPrompt", room=40,
     en="Enter the name of player", sv="Ange namnet på spelare",
     no="Skriv inn navnet til spiller", fi="Anna nimi pelaajalle",
     da="Indtast navnet på spiller", de="Name für Spieler", fr="Nom du joueur",
     es="Nombre del jugador", pl="Podaj imię gracza")
line(65, "default player name, followed directly by the player's number",
     name="PlayerDefault", room=11,
     en="Player", sv="Spelare", no="Spiller", fi="Pelaaja", da="Spiller", de="Spieler",
     fr="Joueur", es="Jugador", pl="Gracz")
line(66, "player name box: OK button",
     name="NameOk", room=10,
     en="OK", sv="OK", no="OK", fi="OK", da="OK", de="OK", fr="OK", es="Aceptar", pl="OK")
line(67, "OK/Cancel message before each vok of a team, followed by \" (1/3)\"",
     name="VokPrompt",
     en="Put the vok you want in the data/ply folder, then press OK to add it to the team",
     sv="Lägg den vok du vill ha i mappen data/ply och tryck sedan på OK för att lägga "
        "till den i laget",
     no="Legg voken du vil ha i mappen data/ply, og trykk deretter OK for å legge den "
        "til i laget",
     fi="Laita haluamasi voki kansioon data/ply ja lisää se sitten joukkueeseen "
        "painamalla OK",
     da="Læg den vok, du vil have, i mappen data/ply, og tryk derefter på OK for at føje "
        "den til holdet",
     de="Legen Sie den gewünschten Vok in den Ordner data/ply und klicken Sie dann auf OK, "
        "um ihn dem Team hinzuzufügen",
     fr="Placez le vok de votre choix dans le dossier data/ply, puis cliquez sur OK pour "
        "l'ajouter à l'équipe",
     es="Coloca el vok que quieras en la carpeta data/ply y pulsa Aceptar para añadirlo "
        "al equipo",
     pl="Umieść wybranego voka w folderze data/ply, a następnie kliknij OK, aby dodać go "
        "do drużyny")
line(68, "Retry/Cancel message while data/ply/data.dat cannot be opened",
     name="VokMissing",
     en="The vok file data/ply/data.dat could not be opened. "
        "Put a vok in the data/ply folder and try again.",
     sv="Vok-filen data/ply/data.dat kunde inte öppnas. "
        "Lägg en vok i mappen data/ply och försök igen.",
     no="Vok-filen data/ply/data.dat kunne ikke åpnes. "
        "Legg en vok i mappen data/ply og prøv igjen.",
     fi="Vok-tiedostoa data/ply/data.dat ei voitu avata. "
        "Laita voki kansioon data/ply ja yritä uudelleen.",
     da="Vok-filen data/ply/data.dat kunne ikke åbnes. "
        "Læg en vok i mappen data/ply, og prøv igen.",
     de="Die Vok-Datei data/ply/data.dat konnte nicht geöffnet werden. "
        "Legen Sie einen Vok in den Ordner data/ply und versuchen Sie es erneut.",
     fr="Impossible d'ouvrir le fichier de vok data/ply/data.dat. "
        "Placez un vok dans le dossier data/ply et réessayez.",
     es="No se puede abrir el archivo de vok data/ply/data.dat. "
        "Coloca un vok en la carpeta data/ply e inténtalo de nuevo.",
     pl="Nie można otworzyć pliku voka data/ply/data.dat. "
        "Umieść voka w folderze data/ply i spróbuj ponownie.")
line(69, "Yes/No question before a new league replaces the existing one",
     name="ReplaceLeague",
     en="A Vok league already exists. Starting a new league deletes it together with "
        "all its voks. Start a new league?",
     sv="Det finns redan en Vok-liga. En ny liga raderar den gamla och alla dess vokar. "
        "Vill du starta en ny liga?",
     no="Det finnes allerede en Vok-liga. En ny liga sletter den gamle og alle vokene i den. "
        "Vil du starte en ny liga?",
     fi="Vok-sarja on jo olemassa. Uusi sarja poistaa vanhan sarjan ja kaikki sen vokit. "
        "Aloitetaanko uusi sarja?",
     da="Der findes allerede en Vok-liga. En ny liga sletter den gamle og alle dens vokker. "
        "Vil du starte en ny liga?",
     de="Es gibt bereits eine Vok-Liga. Eine neue Liga löscht die alte mit all ihren Voks. "
        "Möchten Sie eine neue Liga starten?",
     fr="Une ligue Vok existe déjà. Une nouvelle ligue supprime l'ancienne et tous ses voks. "
        "Créer une nouvelle ligue ?",
     es="Ya existe una liga Vok. Una nueva liga borra la anterior y todos sus voks. "
        "¿Quieres iniciar una nueva liga?",
     pl="Liga Vok już istnieje. Nowa liga usunie starą wraz ze wszystkimi jej vokami. "
        "Czy rozpocząć nową ligę?")
line(70, "OK message for Load League when no league is saved",
     name="NoLeague",
     en="There is no saved Vok league. Start a new league first.",
     sv="Det finns ingen sparad Vok-liga. Starta en ny liga först.",
     no="Det finnes ingen lagret Vok-liga. Start en ny liga først.",
     fi="Tallennettua Vok-sarjaa ei ole. Aloita ensin uusi sarja.",
     da="Der er ingen gemt Vok-liga. Start en ny liga først.",
     de="Es gibt keine gespeicherte Vok-Liga. Starten Sie zuerst eine neue Liga.",
     fr="Aucune ligue Vok n'est enregistrée. Créez d'abord une nouvelle ligue.",
     es="No hay ninguna liga Vok guardada. Inicia primero una nueva liga.",
     pl="Brak zapisanej ligi Vok. Najpierw rozpocznij nową ligę.")

# --- Lines 71 to 86: the game's own texts ------------------------------------

line(71, None, en="Game over", sv="Spelet är slut", no="Spillet er over", fi="Peli päättyi",
     da="Spillet er slut", de="Spiel vorbei", fr="Partie terminée", es="Fin de la partida",
     pl="Koniec gry")
line(72, None, en="Continue?", sv="Fortsätta?", no="Fortsette?", fi="Jatketaanko?",
     da="Fortsæt?", de="Fortsetzen?", fr="Continuer ?", es="¿Continuar?", pl="Kontynuować?")
line(73, None, en="Yes", sv="Ja", no="Ja", fi="Kyllä", da="Ja", de="Ja", fr="Oui", es="Sí",
     pl="Tak")
line(74, None, en="No", sv="Nej", no="Nei", fi="Ei", da="Nej", de="Nein", fr="Non", es="No",
     pl="Nie")
line(75, None, en="Winner", sv="Vinnare", no="Vinner", fi="Voittaja", da="Vinder",
     de="Sieger", fr="Vainqueur", es="Ganador", pl="Zwycięzca")
line(76, None, en="League champion", sv="Ligans mästare", no="Ligamester",
     fi="Sarjan mestari", da="Ligamester", de="Ligameister", fr="Champion de la ligue",
     es="Campeón de la liga", pl="Mistrz ligi")
line(77, None, en="Final round", sv="Sista ronden", no="Siste runde", fi="Viimeinen erä",
     da="Sidste omgang", de="Letzte Runde", fr="Dernière manche", es="Último asalto",
     pl="Ostatnia runda")
line(78, None, en="Sudden death", sv="Avgörande rond", no="Avgjørende runde",
     fi="Ratkaiseva erä", da="Afgørende omgang", de="Entscheidungsrunde", fr="Mort subite",
     es="Muerte súbita", pl="Nagła śmierć")
line(79, None, en="Get ready", sv="Gör dig redo", no="Gjør deg klar", fi="Valmistaudu",
     da="Gør dig klar", de="Bereit machen", fr="Préparez-vous", es="Prepárate",
     pl="Przygotuj się")
line(80, None, en="Your vok is exhausted", sv="Din vok är utmattad",
     no="Voken din er utslitt", fi="Vokisi on uupunut", da="Din vok er udmattet",
     de="Dein Vok ist erschöpft", fr="Votre vok est épuisé", es="Tu vok está agotado",
     pl="Twój vok jest wyczerpany")
line(81, None, en="Health restored", sv="Hälsan återställd", no="Helsen er gjenopprettet",
     fi="Terveys palautettu", da="Helbred genoprettet", de="Gesundheit wiederhergestellt",
     fr="Santé restaurée", es="Salud restablecida", pl="Zdrowie przywrócone")
line(82, None, en="Bonus", sv="Bonus", no="Bonus", fi="Bonus", da="Bonus", de="Bonus",
     fr="Bonus", es="Bonificación", pl="Premia")
line(83, None, en="Extra life", sv="Extra liv", no="Ekstra liv", fi="Lisäelämä",
     da="Ekstra liv", de="Extraleben", fr="Vie supplémentaire", es="Vida extra",
     pl="Dodatkowe życie")
line(84, None, en="New record!", sv="Nytt rekord!", no="Ny rekord!", fi="Uusi ennätys!",
     da="Ny rekord!", de="Neuer Rekord!", fr="Nouveau record !", es="¡Nuevo récord!",
     pl="Nowy rekord!")
line(85, None, en="Saving...", sv="Sparar...", no="Lagrer...", fi="Tallennetaan...",
     da="Gemmer...", de="Wird gespeichert...", fr="Enregistrement...", es="Guardando...",
     pl="Zapisywanie...")
line(86, None, en="Screenshot saved", sv="Skärmbild sparad", no="Skjermbilde lagret",
     fi="Kuvakaappaus tallennettu", da="Skærmbillede gemt", de="Bildschirmfoto gespeichert",
     fr="Capture d'écran enregistrée", es="Captura guardada", pl="Zrzut ekranu zapisany")

# --- Lines 87 to 101: the credits dialog -------------------------------------

line(87, "credits dialog: caption",
     name="CreditsCaption", room=40,
     en="Vok Credits", sv="Medverkande i Vok", no="Medvirkende i Vok", fi="Vokin tekijät",
     da="Medvirkende i Vok", de="Mitwirkende an Vok", fr="Crédits de Vok",
     es="Créditos de Vok", pl="Twórcy gry Vok")
line(88, "credits column 1, first heading",
     name="CreditsGameDesign", room=28,
     en="Game Design", sv="Speldesign", no="Spilldesign", fi="Pelisuunnittelu",
     da="Spildesign", de="Spieldesign", fr="Conception du jeu", es="Diseño del juego",
     pl="Projekt gry")
line(89, "credits column 1, second heading",
     name="CreditsProgramming", room=28,
     en="Programming", sv="Programmering", no="Programmering", fi="Ohjelmointi",
     da="Programmering", de="Programmierung", fr="Programmation", es="Programación",
     pl="Programowanie")
line(90, "credits column 1, third heading",
     name="CreditsGraphics", room=28,
     en="Graphics and Animation", sv="Grafik och animation", no="Grafikk og animasjon",
     fi="Grafiikka ja animaatio", da="Grafik og animation", de="Grafik und Animation",
     fr="Graphismes et animation", es="Gráficos y animación", pl="Grafika i animacja")
line(91, "credits column 1, fourth heading",
     name="CreditsSound", room=28,
     en="Sound and Music", sv="Ljud och musik", no="Lyd og musikk", fi="Äänet ja musiikki",
     da="Lyd og musik", de="Sound und Musik", fr="Son et musique", es="Sonido y música",
     pl="Dźwięk i muzyka")
line(92, "credits column 2, first heading",
     name="CreditsProducer", room=28,
     en="Producer", sv="Producent", no="Produsent", fi="Tuottaja", da="Producer",
     de="Produzent", fr="Producteur", es="Producción", pl="Producent")
line(93, "credits column 2, second heading",
     name="CreditsArenaDesign", room=28,
     en="Arena Design", sv="Arenadesign", no="Arenadesign", fi="Areenasuunnittelu",
     da="Arenadesign", de="Arenadesign", fr="Conception des arènes", es="Diseño de arenas",
     pl="Projekt aren")
line(94, "credits column 2, third heading",
     name="CreditsTesting", room=28,
     en="Testing", sv="Testning", no="Testing", fi="Testaus", da="Test", de="Test",
     fr="Tests", es="Pruebas", pl="Testy")
line(95, "credits column 2, fourth heading",
     name="CreditsStory", room=28,
     en="Story and Texts", sv="Berättelse och texter", no="Historie og tekster",
     fi="Tarina ja tekstit", da="Historie og tekster", de="Geschichte und Texte",
     fr="Scénario et textes", es="Guion y textos", pl="Fabuła i teksty")
line(96, "credits column 3, first heading",
     name="CreditsExecutiveProducer", room=24,
     en="Executive Producer", sv="Exekutiv producent", no="Utøvende produsent",
     fi="Vastaava tuottaja", da="Ansvarlig producer", de="Ausführender Produzent",
     fr="Producteur exécutif", es="Producción ejecutiva", pl="Producent wykonawczy")
line(97, "credits column 2, fifth heading",
     name="CreditsTranslation", room=28,
     en="Translation", sv="Översättning", no="Oversettelse", fi="Käännökset",
     da="Oversættelse", de="Übersetzung", fr="Traduction", es="Traducción",
     pl="Tłumaczenie")
line(98, "credits column 3, second heading",
     name="CreditsVoices", room=24,
     en="Voices", sv="Röster", no="Stemmer", fi="Ääninäyttelijät", da="Stemmer",
     de="Stimmen", fr="Voix", es="Voces", pl="Głosy")
line(99, "credits column 3, fourth heading",
     name="CreditsThanks", room=24,
     en="Special Thanks", sv="Särskilt tack", no="Takk til", fi="Erityiskiitokset",
     da="Særlig tak", de="Besonderer Dank", fr="Remerciements", es="Agradecimientos",
     pl="Podziękowania")
line(100, "credits column 3, fifth heading",
     name="CreditsPublisher", room=24,
     en="Published by", sv="Utgivare", no="Utgitt av", fi="Julkaisija", da="Udgivet af",
     de="Herausgeber", fr="Éditeur", es="Publicado por", pl="Wydawca")
line(101, "credits dialog: OK button",
     name="CreditsOk", room=7,
     en="OK", sv="OK", no="OK", fi="OK", da="OK", de="OK", fr="OK", es="Aceptar", pl="OK")

# --- Lines 102 onward: the game's own texts ----------------------------------

line(102, None, en="Choose arena", sv="Välj arena", no="Velg arena", fi="Valitse areena",
     da="Vælg arena", de="Arena wählen", fr="Choisir l'arène", es="Elegir arena",
     pl="Wybierz arenę")
line(103, None, en="Random arena", sv="Slumpvald arena", no="Tilfeldig arena",
     fi="Satunnainen areena", da="Tilfældig arena", de="Zufällige Arena",
     fr="Arène au hasard", es="Arena aleatoria", pl="Losowa arena")
line(104, None, en="Replay", sv="Repris", no="Reprise", fi="Uusinta", da="Genafspilning",
     de="Wiederholung", fr="Rediffusion", es="Repetición", pl="Powtórka")
line(105, None, en="Watch replay", sv="Visa repris", no="Se reprise", fi="Katso uusinta",
     da="Se genafspilning", de="Wiederholung ansehen", fr="Voir la rediffusion",
     es="Ver repetición", pl="Obejrzyj powtórkę")

# --- Lines after the game's: the launcher's later texts -----------------------

line(106, "OK message when the temporary folder cannot hold a new league (an older "
          "file without this line shows the English text, as for the lines after it)",
     name="TempDirUnusable", fallback=True,
     en="The league cannot be created: the temporary folder is missing, or its path "
        "cannot be used.",
     sv="Ligan kan inte skapas: den tillfälliga mappen saknas, eller så kan dess "
        "sökväg inte användas.",
     no="Ligaen kan ikke opprettes: den midlertidige mappen mangler, eller banen til "
        "den kan ikke brukes.",
     fi="Sarjaa ei voi luoda: väliaikainen kansio puuttuu, tai sen polkua ei voi "
        "käyttää.",
     da="Ligaen kan ikke oprettes: den midlertidige mappe mangler, eller dens sti "
        "kan ikke bruges.",
     de="Die Liga kann nicht erstellt werden: Der temporäre Ordner fehlt, oder sein "
        "Pfad ist nicht verwendbar.",
     fr="Impossible de créer la ligue : le dossier temporaire est introuvable, ou son "
        "chemin est inutilisable.",
     es="No se puede crear la liga: falta la carpeta temporal, o su ruta no se puede "
        "usar.",
     pl="Nie można utworzyć ligi: brak folderu tymczasowego albo jego ścieżki nie da "
        "się użyć.")

line(107, "OK message when the game cannot be started: vok.exe missing in the game's "
          "folder, the copy into the temporary folder or its start failed",
     name="GameNotStarted", fallback=True,
     en="The game could not be started. Check that the game's folder holds vok.exe, that "
        "the temporary folder can be written to, and that no other copy of the game is "
        "running.",
     sv="Spelet kunde inte startas. Kontrollera att spelets mapp innehåller vok.exe, att det "
        "går att skriva i den tillfälliga mappen och att ingen annan kopia av spelet körs.",
     no="Spillet kunne ikke startes. Kontroller at spillets mappe inneholder vok.exe, at det "
        "går an å skrive i den midlertidige mappen, og at ingen annen kopi av spillet kjører.",
     fi="Peliä ei voitu käynnistää. Tarkista, että pelin kansiossa on vok.exe, että "
        "väliaikaiseen kansioon voi kirjoittaa ja ettei pelistä ole toista kopiota käynnissä.",
     da="Spillet kunne ikke startes. Kontrollér, at spillets mappe indeholder vok.exe, at der "
        "kan skrives i den midlertidige mappe, og at ingen anden kopi af spillet kører.",
     de="Das Spiel konnte nicht gestartet werden. Prüfen Sie, ob der Ordner des Spiels vok.exe "
        "enthält, ob in den temporären Ordner geschrieben werden kann und ob keine andere "
        "Kopie des Spiels läuft.",
     fr="Impossible de lancer le jeu. Vérifiez que le dossier du jeu contient vok.exe, que le "
        "dossier temporaire est accessible en écriture et qu'aucune autre copie du jeu n'est "
        "en cours d'exécution.",
     es="No se puede iniciar el juego. Comprueba que la carpeta del juego contiene vok.exe, "
        "que se puede escribir en la carpeta temporal y que no hay otra copia del juego en "
        "ejecución.",
     pl="Nie można uruchomić gry. Sprawdź, czy folder gry zawiera vok.exe, czy do folderu "
        "tymczasowego można zapisywać i czy nie działa inna kopia gry.")
line(108, "Retry/Cancel message when a vok's files cannot all be copied into the "
          "temporary folder (another program holds one open)",
     name="VokNotCopied", fallback=True,
     en="The files of a vok could not all be copied into the temporary folder. Close any "
        "program that uses them, and try again.",
     sv="Alla filer för en vok kunde inte kopieras till den tillfälliga mappen. Stäng program "
        "som använder dem och försök igen.",
     no="Ikke alle filene til en vok kunne kopieres til den midlertidige mappen. Lukk "
        "programmer som bruker dem, og prøv igjen.",
     fi="Kaikkia vokin tiedostoja ei voitu kopioida väliaikaiseen kansioon. Sulje ohjelmat, "
        "jotka käyttävät niitä, ja yritä uudelleen.",
     da="Ikke alle filerne til en vok kunne kopieres til den midlertidige mappe. Luk "
        "programmer, der bruger dem, og prøv igen.",
     de="Nicht alle Dateien eines Voks konnten in den temporären Ordner kopiert werden. "
        "Schließen Sie Programme, die sie verwenden, und versuchen Sie es erneut.",
     fr="Les fichiers d'un vok n'ont pas tous pu être copiés dans le dossier temporaire. "
        "Fermez les programmes qui les utilisent et réessayez.",
     es="No se han podido copiar todos los archivos de un vok en la carpeta temporal. Cierra "
        "los programas que los usen e inténtalo de nuevo.",
     pl="Nie udało się skopiować wszystkich plików voka do folderu tymczasowego. Zamknij "
        "programy, które ich używają, i spróbuj ponownie.")
line(109, "OK message when the league file cannot be written (the new league is then "
          "removed), or, at the create-league dialog's OK, an old one cannot be removed or "
          "the temporary folder cannot be written to",
     name="LeagueNotSaved", fallback=True,
     en="The league could not be saved in the temporary folder. Close the game if it is "
        "running, check that the folder can be written to, and start the new league again.",
     sv="Ligan kunde inte sparas i den tillfälliga mappen. Stäng spelet om det körs, "
        "kontrollera att det går att skriva i mappen och starta den nya ligan igen.",
     no="Ligaen kunne ikke lagres i den midlertidige mappen. Lukk spillet hvis det kjører, "
        "kontroller at det går an å skrive i mappen, og start den nye ligaen på nytt.",
     fi="Sarjaa ei voitu tallentaa väliaikaiseen kansioon. Sulje peli, jos se on käynnissä, "
        "tarkista, että kansioon voi kirjoittaa, ja aloita uusi sarja uudelleen.",
     da="Ligaen kunne ikke gemmes i den midlertidige mappe. Luk spillet, hvis det kører, "
        "kontrollér, at der kan skrives i mappen, og start den nye liga igen.",
     de="Die Liga konnte nicht im temporären Ordner gespeichert werden. Schließen Sie das "
        "Spiel, falls es läuft, prüfen Sie, ob in den Ordner geschrieben werden kann, und "
        "starten Sie die neue Liga erneut.",
     fr="Impossible d'enregistrer la ligue dans le dossier temporaire. Fermez le jeu s'il est "
        "lancé, vérifiez que le dossier est accessible en écriture et recréez la nouvelle "
        "ligue.",
     es="No se puede guardar la liga en la carpeta temporal. Cierra el juego si está en "
        "ejecución, comprueba que se puede escribir en la carpeta y vuelve a crear la nueva "
        "liga.",
     pl="Nie można zapisać ligi w folderze tymczasowym. Zamknij grę, jeśli jest uruchomiona, "
        "sprawdź, czy do folderu można zapisywać, i ponownie rozpocznij nową ligę.")
line(110, "OK message when the shell cannot open what a button names (the DirectX setup, "
          "the demo, the licence, the web site); the launcher adds the file or address on a "
          "line of its own",
     name="CannotOpen", fallback=True,
     en="The launcher could not open this file or address:",
     sv="Startprogrammet kunde inte öppna den här filen eller adressen:",
     no="Startprogrammet kunne ikke åpne denne filen eller adressen:",
     fi="Käynnistin ei voinut avata tätä tiedostoa tai osoitetta:",
     da="Startprogrammet kunne ikke åbne denne fil eller adresse:",
     de="Der Starter konnte diese Datei oder Adresse nicht öffnen:",
     fr="Le lanceur n'a pas pu ouvrir ce fichier ou cette adresse :",
     es="El lanzador no ha podido abrir este archivo o dirección:",
     pl="Program uruchamiający nie mógł otworzyć tego pliku ani adresu:")
line(111, "OK message after the create-league dialog's OK when a file of the vok source "
          "(data/ply/) has a name too long for its copy in the temporary folder; the launcher "
          "adds the file on a line of its own",
     name="VokNameTooLong", fallback=True,
     en="The league cannot be created: the name of this vok file is too long for its copy in "
        "the temporary folder. Shorten the name, then create the league again:",
     sv="Ligan kan inte skapas: namnet på den här vok-filen är för långt för dess kopia i den "
        "tillfälliga mappen. Korta namnet och skapa sedan ligan igen:",
     no="Ligaen kan ikke opprettes: navnet på denne vok-filen er for langt for kopien i den "
        "midlertidige mappen. Forkort navnet, og opprett deretter ligaen på nytt:",
     fi="Sarjaa ei voi luoda: tämän vokin tiedoston nimi on liian pitkä sen kopiolle "
        "väliaikaisessa kansiossa. Lyhennä nimeä ja luo sarja sitten uudelleen:",
     da="Ligaen kan ikke oprettes: navnet på denne vok-fil er for langt til kopien i den "
        "midlertidige mappe. Forkort navnet, og opret derefter ligaen igen:",
     de="Die Liga kann nicht erstellt werden: Der Name dieser Vok-Datei ist zu lang für ihre "
        "Kopie im temporären Ordner. Kürzen Sie den Namen und erstellen Sie die Liga dann "
        "erneut:",
     fr="Impossible de créer la ligue : le nom de ce fichier de vok est trop long pour sa copie "
        "dans le dossier temporaire. Raccourcissez ce nom, puis recréez la ligue :",
     es="No se puede crear la liga: el nombre de este archivo del vok es demasiado largo para "
        "su copia en la carpeta temporal. Acorta el nombre y vuelve a crear la liga:",
     pl="Nie można utworzyć ligi: nazwa tego pliku voka jest za długa dla jego kopii w folderze "
        "tymczasowym. Skróć nazwę, a następnie ponownie utwórz ligę:")


def validate():
    """Returns a list of problems; empty when the table can be written."""
    problems = []
    numbers = [number for number, *_ in TABLE]
    names = [name for _, _, _, name, _, _ in TABLE if name]
    if len(set(names)) != len(names) or not all(n.isidentifier() for n in names):
        problems.append("names must be identifiers, each used once")
    if numbers != list(range(len(TABLE))):
        problems.append("line numbers must run 0, 1, 2, ... without gaps or repeats")
    for number, use, texts, name, limit, fallback in TABLE:
        if (use is None) != (name is None) or (fallback and not name):
            problems.append(f"line {number}: a line the launcher shows has a name, no other")
        missing = [code for code in CODES if code not in texts]
        extra = [code for code in texts if code not in CODES]
        if missing or extra:
            problems.append(f"line {number}: missing {missing}, unknown {extra}")
        for code, _, codepage in LANGUAGES:
            text = texts.get(code, "")
            where = f"line {number} [{code}]"
            if not text:
                problems.append(f"{where}: empty")
            if text != text.strip():
                problems.append(f"{where}: blank at the start or end")
            if "%" in text:
                problems.append(f"{where}: '%' is reserved for the launcher's formats")
            if any(ord(c) < 32 for c in text):
                problems.append(f"{where}: control character")
            try:
                encoded = text.encode(codepage)
            except UnicodeEncodeError as error:
                problems.append(f"{where}: not in {codepage}: {error.object[error.start]!r}")
                continue
            if len(encoded) > MAX_LINE:
                problems.append(f"{where}: {len(encoded)} bytes, at most {MAX_LINE}")
            shown = text.replace("&", "")
            if limit is not None and len(shown) > limit:
                problems.append(f"{where}: {len(shown)} characters, room for {limit}")
    if TABLE and len(TABLE) > 53:
        licence = TABLE[53][2].get("en", "")
        if not (DATA_ROOT / licence).is_file():
            problems.append(f"line 53: the sample has no {licence}")
    return problems


def render(code, codepage):
    """The bytes of one language file: every line ended by CR LF."""
    return b"".join(texts[code].encode(codepage) + b"\r\n" for _, _, texts, *_ in TABLE)


def header():
    """The C++ header of the lines the launcher shows, by name."""
    out = ["// Generated by scripts/make_language_files.py from its table of texts: the",
           "// language lines the launcher shows, by name. Do not edit; run the script.",
           "// clang-format off", "#pragma once", "", "namespace vok::lines {", ""]
    for number, use, texts, name, _, fallback in TABLE:
        if name:
            out.append(f"constexpr int k{name} = {number};")
    out += ["", f"constexpr int kLineCount = {len(TABLE)};  // lines in each language file",
            "", "// Every line by its name, for the tests' scenarios (@Name); and, for the",
            "// lines that language files made before them lack, the English text the",
            "// launcher shows instead.",
            "struct Named {", "    const char* name;", "    int line;",
            "    const char* fallback;", "};", "", "inline constexpr Named kNamed[] = {"]
    for number, use, texts, name, _, fallback in TABLE:
        if name:
            english = '"' + texts["en"].replace("\\", "\\\\").replace('"', '\\"') + '"'
            out.append(f'    {{"{name}", k{name}, {english if fallback else "nullptr"}}},')
    out += ["};", "", "}  // namespace vok::lines", ""]
    return "\n".join(out).encode("ascii")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="compare the files with the table instead of writing them")
    args = parser.parse_args()

    problems = validate()
    if problems:
        for problem in problems:
            print(problem, file=sys.stderr)
        return 1

    stale = []
    outputs = [(OUTPUT_DIR / name, render(code, codepage)) for code, name, codepage in LANGUAGES]
    for path, data in outputs + [(HEADER, header())]:
        if args.check:
            if not path.is_file() or path.read_bytes() != data:
                stale.append(str(path.relative_to(ROOT)))
        else:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
    if stale:
        print("out of date, run scripts/make_language_files.py: " + ", ".join(stale),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
