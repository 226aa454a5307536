// The table of `kavrel journal`'s actions: each one's name, synopsis, help (French and
// English, for `kavrel journal --help`, `kavrel journal ACTION --help` and the manual
// pages), options and what runs it. Data only. Qt-free.
#include "cli/journal_actions.h"

#include "cli/journal_runs.h"

namespace kavrel::cli::logbook {

namespace {

const std::vector<JournalAction> kActions{
    {"ajouter",
     "ajouter DATE HEURE --nord G F --sud G F | --disque G F [--seeing N] [--transparence N] "
     "[--observateur CODE] [--remarque TEXTE] | ajouter DATE [HEURE] --sans-observation [--remarque TEXTE] "
     "[--observateur CODE]",
     {"enregistre une observation : DATE 2014-02-03 ou 3 2 2014, HEURE TU 09:05 ou\n"
      "9 5, les nombres de groupes G et de taches F du nord et du sud, ou du disque\n"
      "entier ; seeing de 1 à 5 (5 le meilleur) ou E G F P, transparence de 1 à 5.\n"
      "Sans --observateur, le seul observateur qui a des observations (ou le seul du\n"
      "journal) ; un code nouveau crée son observateur. Affiche « Observation\n"
      "enregistrée : R = 109 (nord 25, sud 84) ».\n"
      "--sans-observation marque DATE comme un jour sans observation (nuages, pluie),\n"
      "la remarque disant le temps, l'heure si elle est donnée ; refusé pour un jour\n"
      "que l'observateur a observé",
      "records an observation: DATE 2014-02-03 or 3 2 2014, TIME (UT) 09:05 or 9 5,\n"
      "the numbers of groups G and of spots F of the north and the south, or of the\n"
      "whole disc; seeing 1 to 5 (5 the best) or E G F P, transparency 1 to 5.\n"
      "Without --observateur, the only observer who has observations (or the\n"
      "journal's only one); a new code creates its observer. Prints \"Observation\n"
      "enregistrée : R = 109 (nord 25, sud 84)\".\n"
      "--sans-observation marks DATE as a day not observed (clouds, rain), the\n"
      "remark saying the weather, the time kept when given; refused for a day the\n"
      "observer observed"},
     {{"--nord", 2}, {"--sud", 2}, {"--disque", 2}, {"--seeing", 1}, {"--transparence", 1},
      {"--observateur", 1}, {"--remarque", 1}, {"--sans-observation", 0}},
     addObservation},
    {"corriger",
     "corriger DATE HEURE [--nord G F --sud G F | --disque G F] [--seeing N] [--transparence N] "
     "[--remarque TEXTE] [--date NOUVELLE_DATE] [--heure NOUVELLE_HEURE] [--observateur CODE]",
     {"corrige l'observation de DATE à HEURE (écrites comme pour ajouter) : les comptes,\n"
      "le seeing et la transparence (« - » les efface), la remarque, et avec --date et\n"
      "--heure son jour et son heure ; ses groupes restent. Les vérifications\n"
      "d'ajouter s'appliquent. Affiche « Observation corrigée : le 3 février 2014 à\n"
      "09:05, R = 109 »",
      "corrects the observation of DATE at TIME (written as for ajouter): the counts,\n"
      "the seeing and the transparency (\"-\" clears them), the remark, and with --date\n"
      "and --heure its day and time; its groups stay. The checks of ajouter apply.\n"
      "Prints \"Observation corrigée : le 3 février 2014 à 09:05, R = 109\""},
     {{"--nord", 2}, {"--sud", 2}, {"--disque", 2}, {"--seeing", 1}, {"--transparence", 1}, {"--remarque", 1},
      {"--date", 1}, {"--heure", 1}, {"--observateur", 1}},
     correctObservation},
    {"supprimer", "supprimer DATE HEURE [--observateur CODE] | supprimer DATE --sans-observation",
     {"supprime l'observation de DATE à HEURE avec ses groupes, ou le jour sans\n"
      "observation DATE. Affiche « Observation supprimée : le 3 février 2014 à 09:05,\n"
      "R = 109 »",
      "removes the observation of DATE at TIME with its groups, or the day not\n"
      "observed DATE. Prints \"Observation supprimée : le 3 février 2014 à 09:05,\n"
      "R = 109\""},
     {{"--observateur", 1}, {"--sans-observation", 0}},
     removeObservation},
    {"retenir", "retenir DATE HEURE [--observateur CODE]",
     {"retient l'observation de DATE à HEURE (écrites comme pour ajouter) pour son\n"
      "jour : le tableau du mois, ses moyennes et les rapports la prennent au lieu de\n"
      "celle du meilleur seeing. Affiche « Observation retenue pour le 3 février\n"
      "2014 : 09:05, R = 109 » ; une observation qui n'existe pas est refusée",
      "keeps the observation of DATE at TIME (written as for ajouter) for its day:\n"
      "the month's table, its means and the reports take it instead of the one of the\n"
      "best seeing. Prints \"Observation retenue pour le 3 février 2014 : 09:05,\n"
      "R = 109\"; an observation that does not exist is refused"},
     {{"--observateur", 1}},
     retainObservation},
    {"importer", "importer FICHIER|- [--partiel]",
     {"importe le journal d'un tableur (FICHIER, ou l'entrée standard pour « - »),\n"
      "d'en-tête date;heure_tu;g_nord;f_nord;g_sud;f_sud;seeing;observateur;remarque,\n"
      "ou g_disque;f_disque à la place des quatre colonnes des hémisphères (« ; » avec\n"
      "la virgule décimale, « , » avec le point). Une ligne refusée, et rien n'est\n"
      "importé : chaque ligne refusée est listée, « ligne N : message » (l'en-tête est\n"
      "la ligne 1) ; --partiel importe les autres. Une ligne sans comptes, seeing ni\n"
      "transparence mais avec sa remarque (le temps : C, R, C-R…) est un jour sans\n"
      "observation. Affiche « Observations importées : 23 ; jours sans observation :\n"
      "8 »",
      "imports a spreadsheet's log (FICHIER, or the standard input for \"-\"), with\n"
      "the header date;heure_tu;g_nord;f_nord;g_sud;f_sud;seeing;observateur;remarque,\n"
      "or g_disque;f_disque in place of the four columns of the hemispheres (\";\"\n"
      "with the decimal comma, \",\" with the point). One refused line, and nothing is\n"
      "imported: each refused line is listed, \"ligne N : message\" (the header is\n"
      "line 1); --partiel imports the others. A line without counts, seeing nor\n"
      "transparency but with its remark (the weather: C, R, C-R...) is a day not\n"
      "observed. Prints \"Observations importées : 23 ; jours sans observation : 8\""},
     {{"--partiel", 0}},
     importLog},
    {"mois", "mois MOIS ANNEE [--observateur CODE]",
     {"le mois d'un observateur : une ligne par jour observé (l'observation du jour :\n"
      "celle choisie, sinon le meilleur seeing, puis la plus tôt) ou sans observation\n"
      "(« – » pour l'heure et les comptes), ses remarques au bout, puis les lignes\n"
      "« Jours d'observation », « Moyenne de R », « Moyenne de R nord », « Moyenne de\n"
      "R sud » et « Groupes par jour », moyennes sur les jours observés ; avec un k\n"
      "choisi (k --choisir), la moyenne de R multipliée suit : « (× 1,22 : 106,5) »",
      "an observer's month: one line per day observed (the day's observation: the\n"
      "one chosen, else the best seeing, then the earliest) or not observed (\"–\"\n"
      "for the time and the counts), its remarks last, then the lines \"Jours\n"
      "d'observation\", \"Moyenne de R\", \"Moyenne de R nord\", \"Moyenne de R sud\"\n"
      "and \"Groupes par jour\", means over the days observed; with a chosen k (k\n"
      "--choisir), the mean R multiplied follows: \"(× 1,22 : 106,5)\""},
     {{"--observateur", 1}},
     printMonth},
    {"rapport", "rapport MOIS ANNEE --format aavso|baa|ceslopol|csv [--sortie F] [--observateur CODE] [--k K]",
     {"le rapport du mois pour un réseau : aavso (le texte mensuel de sa section\n"
      "solaire, fichier CODEAAMM.RAW), baa (le formulaire en lumière blanche, en CSV),\n"
      "ceslopol (CSV en Windows-1250) ou csv (toutes les observations du mois, R nord\n"
      "et sud compris) ; sur la sortie standard, ou écrit entier dans F (dans un\n"
      "dossier : sous le nom que le réseau attend). --observateur quand le journal\n"
      "tient plusieurs observateurs. Les rapports des réseaux gardent les comptes\n"
      "bruts, dont chaque réseau tire lui-même le k de l'observateur : --k y est\n"
      "refusé. Le csv garde R tel que compté et, avec le k choisi (k --choisir) ou\n"
      "--k K, ajoute les colonnes k et R_k (R × k arrondi à l'entier)",
      "the month's report for a network: aavso (the monthly text of its solar\n"
      "section, file CODEYYMM.RAW), baa (the white-light form, as CSV), ceslopol (CSV\n"
      "in Windows-1250) or csv (every observation of the month, R north and south\n"
      "included); to the standard output, or written whole to F (into a folder:\n"
      "under the name the network expects). --observateur where the journal holds\n"
      "several observers. The networks' reports keep the raw counts, from which each\n"
      "network derives the observer's k itself: --k is refused there. The csv keeps\n"
      "R as counted and, with the chosen k (k --choisir) or --k K, adds the columns\n"
      "k and R_k (R × k rounded to the whole number)"},
     {{"--format", 1}, {"--sortie", 1}, {"--observateur", 1}, {"--k", 1}},
     writeReport},
    {"envoyer", "envoyer MOIS ANNEE --reseau B [--observateur CODE]",
     {"envoie le mois de l'observateur à la base de son réseau B (un fichier, ou un\n"
      "serveur postgresql://… où son rôle n'écrit que ses propres jours) : un jour par\n"
      "date, celui que le rapport retient, en comptes bruts, le seeing comme qualité ;\n"
      "il remplace ce que la base tenait de ce mois de l'observateur, et le même mois\n"
      "envoyé deux fois ne change rien",
      "sends the observer's month to their network's base B (a file, or a server\n"
      "postgresql://... where their role writes only their own days): one day per\n"
      "date, the one the report keeps, as raw counts, the seeing as the quality; it\n"
      "replaces what the base held of that month of the observer, and the same month\n"
      "sent twice changes nothing"},
     {{"--reseau", 1}, {"--observateur", 1}},
     sendMonth},
    {"sauvegarder", "sauvegarder F",
     {"une copie du journal dans F, faite pendant qu'il sert, écrite entière ou pas du\n"
      "tout",
      "a copy of the journal in F, made while it is in use, written whole or not at\n"
      "all"},
     {},
     saveCopy},
    {"graphique",
     "graphique mensuel|k|papillon --png F | --svg F | --pdf F [--du A] [--au A] [--observateur CODE] [--k K]",
     {"un graphique du journal écrit entier en PNG, SVG ou PDF (sans écran) : mensuel\n"
      "(le R mensuel de l'observateur, multiplié par K avec --k, sinon par le k choisi,\n"
      "les moyennes mensuelles et lissées sur 13 mois de SILSO), k (le R quotidien de\n"
      "l'observateur contre le nombre international, la droite de K ou du k choisi,\n"
      "sinon du rapport des sommes) ou papillon (la latitude des groupes de\n"
      "l'observateur et des groupes importés au fil du temps, le nombre mensuel\n"
      "dessous) ; des années A de --du à --au, sinon celles de l'observateur",
      "a picture of the journal written whole as PNG, SVG or PDF (no display needed):\n"
      "mensuel (the observer's monthly R, multiplied by K with --k, else by the chosen\n"
      "k, SILSO's monthly and 13-month smoothed means), k (the observer's daily R\n"
      "against the international number, the line of K or of the chosen k, else of\n"
      "the ratio of sums) or papillon (the latitude of the observer's groups and of\n"
      "the imported ones over time, the monthly number under it); the years A from\n"
      "--du to --au, else the observer's"},
     {{"--png", 1}, {"--svg", 1}, {"--pdf", 1}, {"--du", 1}, {"--au", 1}, {"--observateur", 1}, {"--k", 1}},
     drawChart},
    {"observateurs",
     "observateurs [--ajouter CODE NOM [--ouverture MM] [--focale MM] [--methode projection|filtre|photo]] | "
     "observateurs --renommer CODE NOUVEAU_CODE",
     {"la liste des observateurs du journal ; --ajouter enregistre un observateur, ou\n"
      "donne un nom et un instrument à un code déjà connu : ouverture et focale en mm,\n"
      "méthode projection, filtre (vision directe) ou photo ; --renommer donne un autre\n"
      "code à un observateur (celui de son réseau, par exemple), ses observations le\n"
      "suivent",
      "the list of the journal's observers; --ajouter records an observer, or gives\n"
      "a name and an instrument to a known code: aperture and focal length in mm,\n"
      "method projection, filtre (direct view) or photo; --renommer gives an observer\n"
      "another code (their network's, say), their observations following"},
     {{"--ajouter", 2}, {"--ouverture", 1}, {"--focale", 1}, {"--methode", 1}, {"--renommer", 2}},
     listObservers},
    {"groupes",
     "groupes importer FICHIER [--heure HH:MM] [--partiel] [--observateur CODE] | groupes resume ANNEE "
     "[--source greenwich|srs]",
     {"les groupes listés par d'autres, gardés à part de ceux de l'observateur :\n"
      "importer lit un fichier annuel gAAAA.txt de Greenwich ou de la NOAA (source\n"
      "greenwich) ou un résumé quotidien des régions SRS de la NOAA (source srs) ; il\n"
      "remplace les groupes de cette source des jours que le fichier couvre ; une ligne\n"
      "illisible et rien n'est importé. importer lit aussi les listes de groupes de\n"
      "l'observateur, et dit laquelle : le relevé de taches de Disque (chaque tache un\n"
      "groupe), une liste d'en-tête date, heure_tu, latitude, longitude ou dmc, taches,\n"
      "aire_msh, zurich, mcintosh (noms anglais acceptés : time_ut, cmd, spots…), ou\n"
      "date,no,lat,lon,num (la date sur la première ligne du jour, lon une DMC) ; N/S\n"
      "et E/W ou des signes, des intervalles a~b. La DMC devient une longitude de\n"
      "Carrington à l'heure de l'observation, à défaut à l'heure habituelle --heure\n"
      "(12:00 TU sans elle). Chaque ligne refusée est listée, « ligne N : raison », et\n"
      "rien n'est importé sans --partiel. Les groupes vont à l'observateur de\n"
      "--observateur (ou celui de la règle habituelle) et remplacent les siens des\n"
      "jours que la liste couvre. resume compte les groupes de l'année, chacun une\n"
      "fois, au nord ou au sud selon le signe de sa latitude moyenne :\n"
      "« Groupes : 512 », « Nord : 240 groupes, latitude moyenne 17,42° », « Sud : … »",
      "the groups listed by others, kept apart from the observer's: importer reads a\n"
      "yearly file gYYYY.txt of Greenwich or NOAA (source greenwich) or a daily NOAA\n"
      "Solar Region Summary SRS (source srs); it replaces that source's groups of the\n"
      "days the file covers; one unreadable line and nothing is imported. importer\n"
      "also reads the observer's own lists of groups, and says which: Disque's saved\n"
      "spots (each spot a group), a list headed date, time_ut, latitude, longitude or\n"
      "cmd, spots, area_msh, zurich, mcintosh (French names accepted: heure_tu, dmc,\n"
      "taches...), or date,no,lat,lon,num (the date on a day's first row, lon a CMD);\n"
      "N/S and E/W or signs, ranges a~b. A CMD becomes a Carrington longitude at the\n"
      "observation's time, else at the usual hour --heure (12:00 UT without it). Each\n"
      "refused line is listed, \"ligne N : reason\", and nothing is imported without\n"
      "--partiel. The groups go to the observer of --observateur (or the usual rule's)\n"
      "and replace theirs of the days the list covers. resume counts the year's\n"
      "groups, each once, north or south by the sign of its mean latitude: \"Groupes :\n"
      "512\", \"Nord : 240 groupes, latitude moyenne 17,42°\"..."},
     {{"--source", 1}, {"--heure", 1}, {"--partiel", 0}, {"--observateur", 1}},
     groups},
    {"jour", "jour DATE [--source srs|greenwich]",
     {"les comptes d'un jour (DATE 2014-02-03 ou 3 2 2014) faits des groupes importés,\n"
      "comme mois donne ceux de l'observateur : g, f et R du nord, du sud et du disque ;\n"
      "f et R laissés vides (–) pour Greenwich, qui ne compte pas les taches.\n"
      "--source quand le journal tient le jour des deux sources",
      "a day's counts (DATE 2014-02-03 or 3 2 2014) made of the imported groups, as\n"
      "mois gives the observer's: g, f and R of the north, the south and the disc; f\n"
      "and R left empty (–) for Greenwich, which does not count spots. --source\n"
      "where the journal holds the day from both sources"},
     {{"--source", 1}},
     groupDayCounts},
    {"regions", "regions [--du D] [--au D] [--source observateur|greenwich|srs] [--observateur CODE] [--csv F] "
     "[--par-jour]",
     {"les groupes d'une source suivis de jour en jour en régions (D 2014-02-03 ;\n"
      "sans --du ni --au, tout le journal) : observateur (ses groupes, par défaut),\n"
      "greenwich ou srs (les groupes importés). Une ligne par région : premier et\n"
      "dernier jour, jours vus, latitude et longitude de Carrington moyennes, dérive en\n"
      "longitude (°/jour), plus grandes aire et nombre de taches, classes, numéro, et la\n"
      "région dont elle est le retour après le passage derrière le limbe ;\n"
      "--par-jour, une ligne par groupe et par jour. Les régions de l'observateur\n"
      "prennent le numéro des régions SRS, sinon de Greenwich, importées des mêmes\n"
      "jours, et la dernière ligne dit celles qui n'en ont pas. --csv F écrit le\n"
      "tableau en CSV (region;first;last;days;latitude;longitude;drift_deg_per_day;\n"
      "max_area_msh;number, ou avec --par-jour\n"
      "region;date;time_ut;latitude;longitude;area_msh;number)",
      "the groups of one source followed from day to day into regions (D 2014-02-03;\n"
      "without --du or --au, the whole journal): observateur (the observer's groups,\n"
      "the default), greenwich or srs (the imported groups). One line per region:\n"
      "first and last day, days seen, mean latitude and Carrington longitude, the\n"
      "drift in longitude (°/day), largest area and spot count, classes, number, and\n"
      "the region it is the return of after its passage behind the limb; --par-jour,\n"
      "one line per group and day. The observer's regions take the number of the SRS\n"
      "regions, else Greenwich's, imported for the same days, and the last line says\n"
      "which have none. --csv F writes the table as CSV\n"
      "(region;first;last;days;latitude;longitude;drift_deg_per_day;max_area_msh;\n"
      "number, or with --par-jour region;date;time_ut;latitude;longitude;area_msh;\n"
      "number)"},
     {{"--du", 1}, {"--au", 1}, {"--source", 1}, {"--observateur", 1}, {"--csv", 1}, {"--par-jour", 0}},
     printRegions},
    {"rotation",
     "rotation [--du D] [--au D] [--source observateur|greenwich|srs] [--observateur CODE] "
     "[--png F | --svg F | --pdf F]",
     {"la rotation différentielle du Soleil mesurée sur les régions (comme regions) :\n"
      "la vitesse sidérale de chaque région suivie quatre jours au moins et sur trois\n"
      "jours ou plus, puis la loi ω = A + B sin²φ ajustée sur elles, « A : 14,41 ±\n"
      "0,06 °/jour », « B : -2,9 ± 0,4 °/jour », « Régions : 212 » ; refusé avec\n"
      "moins de trois régions. --png, --svg ou --pdf F dessine les vitesses contre la\n"
      "latitude, la loi ajustée et celle de Newton et Nunn (1951)",
      "the Sun's differential rotation measured on the regions (as regions): the\n"
      "sidereal rate of each region followed four days or more and over three days or\n"
      "more, then the law ω = A + B sin²φ fitted on them, \"A : 14,41 ± 0,06\n"
      "°/jour\", \"B : -2,9 ± 0,4 °/jour\", \"Régions : 212\"; refused with fewer\n"
      "than three regions. --png, --svg or --pdf F draws the rates against latitude,\n"
      "the fitted law and Newton and Nunn's (1951)"},
     {{"--du", 1}, {"--au", 1}, {"--source", 1}, {"--observateur", 1}, {"--png", 1}, {"--svg", 1}, {"--pdf", 1}},
     printRotation},
    {"carte", "carte ROTATION --png F | --svg F | --pdf F [--source greenwich|srs] [--observateur CODE]",
     {"la carte de la rotation de Carrington ROTATION (1 à 5000) écrite entière en PNG,\n"
      "SVG ou PDF : la longitude de 360° à gauche à 0°, la latitude de 60° S à 60° N,\n"
      "les jours du passage au méridien central en haut ; chaque région passée au\n"
      "méridien central pendant la rotation y est une marque de la taille de sa plus\n"
      "grande aire, avec son numéro : disques pleins pour celles de l'observateur,\n"
      "carrés vides pour les régions importées (SRS, sinon Greenwich, ou la source de\n"
      "--source)",
      "the map of Carrington rotation ROTATION (1 to 5000) written whole as PNG, SVG\n"
      "or PDF: longitude from 360° on the left to 0°, latitude from 60° S to 60° N,\n"
      "the days of central-meridian passage along the top; each region that passed\n"
      "the central meridian during the rotation is a mark the size of its largest\n"
      "area, with its number: filled discs for the observer's, open squares for the\n"
      "imported regions (SRS, else Greenwich, or the source of --source)"},
     {{"--png", 1}, {"--svg", 1}, {"--pdf", 1}, {"--source", 1}, {"--observateur", 1}},
     drawRotationMap},
    {"silso", "silso [--hemispheres] FICHIER",
     {"importe le fichier quotidien du nombre de taches international de SILSO,\n"
      "SN_d_tot_V2.0.csv, ou avec --hemispheres celui des hémisphères,\n"
      "SN_d_hem_V2.0.csv : le fichier entier, qui remplace celui de même sorte déjà\n"
      "importé, ses jours provisoires marqués. Une ligne mal formée refuse le\n"
      "fichier, avec son numéro, et laisse le journal tel quel",
      "imports SILSO's daily file of the international sunspot number,\n"
      "SN_d_tot_V2.0.csv, or with --hemispheres that of the hemispheres,\n"
      "SN_d_hem_V2.0.csv: the whole file, replacing the one of the same kind already\n"
      "imported, its provisional days marked. A malformed line refuses the file,\n"
      "with its number, and leaves the journal as it was"},
     {{"--hemispheres", 0}},
     importSilso},
    {"silso-mois", "silso-mois MOIS ANNEE",
     {"le nombre international du mois : « Moyenne mensuelle » (la moyenne simple des\n"
      "jours) et « Moyenne lissée sur 13 mois » (les mois m-6 et m+6 pesant ½, les\n"
      "onze entre eux 1, divisé par 12 ; « – » à moins de six mois des bouts du\n"
      "fichier)",
      "the month's international number: \"Moyenne mensuelle\" (the plain mean of the\n"
      "days) and \"Moyenne lissée sur 13 mois\" (the months m-6 and m+6 weighted ½,\n"
      "the eleven between 1, divided by 12; \"–\" within six months of the file's\n"
      "ends)"},
     {},
     printSilsoMonth},
    {"k", "k [--du DATE] [--au DATE] [--observateur CODE] [--par-mois] | k --choisir K [--observateur CODE]",
     {"le k de l'observateur, R international ≈ k · R de l'observateur, sur les jours\n"
      "que le journal et SILSO ont tous deux (DATE 2014-02-03) : le rapport des sommes\n"
      "ΣSN / ΣR (les jours de R = 0 comptent), la moyenne des rapports SN/R sur les\n"
      "jours de R > 0 avec leur écart type, et leur médiane ; k nord et k sud avec le\n"
      "fichier des hémisphères ; --par-mois, une ligne par mois. Il faut au moins 20\n"
      "jours communs. « k choisi : 1,22 » les précède quand un k est choisi.\n"
      "--choisir K garde dans le journal le k choisi pour l'observateur, que mois,\n"
      "graphique et rapport --format csv appliquent ; --choisir \"\" l'efface",
      "the observer's k, international R ≈ k · the observer's R, over the days both\n"
      "the journal and SILSO have (DATE 2014-02-03): the ratio of sums ΣSN / ΣR (days\n"
      "of R = 0 count), the mean of the ratios SN/R over the days of R > 0 with their\n"
      "standard deviation, and their median; k north and k south with the\n"
      "hemispheric file; --par-mois, one line per month. At least 20 common days\n"
      "are needed. \"k choisi : 1,22\" comes first when a k is chosen. --choisir K\n"
      "keeps in the journal the k chosen for the observer, which mois, graphique and\n"
      "rapport --format csv apply; --choisir \"\" clears it"},
     {{"--du", 1}, {"--au", 1}, {"--observateur", 1}, {"--par-mois", 0}, {"--choisir", 1}},
     printK},
};

}  // namespace

const std::vector<JournalAction>& journalActions() { return kActions; }

}  // namespace kavrel::cli::logbook
