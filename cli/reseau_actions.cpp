// The table of `kavrel reseau`'s actions: each one's name, synopsis, help (French and
// English, for `kavrel reseau --help`, `kavrel reseau ACTION --help` and the manual pages),
// options and what runs it. Data only. Qt-free.
#include "cli/reseau_request.h"

namespace kavrel::cli::network {
namespace {

const std::vector<OptionSpec> kPeriodOptions{{"--du", 1}, {"--au", 1}, {"--pilote", 1}, {"--qualite-min", 1},
                                             {"--jours-min", 1}, {"--jours-min-annee", 1}};

std::vector<OptionSpec> withPeriod(std::vector<OptionSpec> options) {
  options.insert(options.end(), kPeriodOptions.begin(), kPeriodOptions.end());
  return options;
}

const std::vector<ReseauAction> kActions{
    {"observateurs", "observateurs [--ajouter CODE NOM [--role ROLE]]",
     {"les observateurs du réseau ; --ajouter enregistre un observateur (ou renomme un\n"
      "code connu) et, avec --role, le lie au rôle de connexion ROLE du serveur (créé\n"
      "par le coordinateur avec les outils du serveur) : ce rôle lit les nombres du\n"
      "réseau et n'écrit que les observations de cet observateur",
      "the network's observers; --ajouter records an observer (or renames a known\n"
      "code) and, with --role, ties it to the server's login role ROLE (made by the\n"
      "coordinator with the server's own tools): that role reads the network's\n"
      "numbers and writes only this observer's observations"},
     {{"--ajouter", 2}, {"--role", 1}},
     listObservers},
    {"importer", "importer FICHIER [--partiel]",
     {"importe les observations d'un fichier : la table d'un coordinateur (CSV « ; » ou\n"
      "« , », UTF-8 ou Windows-1250, d'en-tête observer;instrument;date;time_ut;\n"
      "quality;g;f, g_north… ou les noms français), un journal de Kavrel, ou un\n"
      "rapport du Journal (csv, ceslopol, aavso). Chaque ligne est vérifiée comme un\n"
      "jour du Journal (qualité de 0 à 5) ; une ligne refusée, listée « ligne N :\n"
      "raison », et rien n'est importé, sauf avec --partiel. Le mois d'un observateur\n"
      "que le fichier tient remplace celui de la base ; le même fichier importé deux\n"
      "fois ne change rien",
      "imports the observations of a file: a coordinator's table (CSV \";\" or \",\",\n"
      "UTF-8 or Windows-1250, header observer;instrument;date;time_ut;quality;g;f,\n"
      "g_north... or the French names), a Kavrel journal, or a Journal's report (csv,\n"
      "ceslopol, aavso). Each row is checked as a Journal's day (quality 0 to 5); one\n"
      "refused row, listed \"ligne N : reason\", and nothing is imported, unless\n"
      "--partiel. An observer's month the file holds replaces the base's; the same\n"
      "file imported twice changes nothing"},
     {{"--partiel", 0}},
     importFile},
    {"silso", "silso FICHIER",
     {"importe le fichier quotidien du nombre international de SILSO,\n"
      "SN_d_tot_V2.0.csv, qui remplace celui déjà importé ; une ligne mal formée le\n"
      "refuse, avec son numéro",
      "imports SILSO's daily file of the international number, SN_d_tot_V2.0.csv,\n"
      "which replaces the one imported before; a malformed line refuses it, with its\n"
      "number"},
     {},
     importSilso},
    {"k",
     "k [--du D] [--au D] [--par-annee] [--csv F] [--pilote CODE] [--qualite-min Q] [--jours-min N] "
     "[--jours-min-annee N]",
     {"le k de chaque observateur (R_référence ≈ k · R) contre SILSO, ou contre\n"
      "l'observateur pilote CODE, par le rapport des sommes, la moyenne des rapports ±\n"
      "σ et la médiane, sur les jours que les deux ont ; de D à --au (une date ou une\n"
      "année), et par année civile avec --par-annee ; moins de 100 jours communs\n"
      "(20 dans une année) : pas de k (--jours-min, --jours-min-annee) ; --qualite-min\n"
      "ne garde que les jours de qualité Q ou meilleure. --csv F écrit la table\n"
      "(observer;days;k_sums;k_mean;k_sigma;k_median, year en second par année)",
      "each observer's k (R_reference ≈ k · R) against SILSO, or against the pilot\n"
      "observer CODE, by the ratio of sums, the mean of ratios ± σ and the median,\n"
      "over the days both have; from D to --au (a date or a year), and per calendar\n"
      "year with --par-annee; fewer than 100 paired days (20 in a year): no k\n"
      "(--jours-min, --jours-min-annee); --qualite-min keeps only the days of quality\n"
      "Q or better. --csv F writes the table (observer;days;k_sums;k_mean;k_sigma;\n"
      "k_median, year second per year)"},
     withPeriod({{"--par-annee", 0}, {"--csv", 1}}),
     printK},
    {"jour", "jour DATE [--k global]",
     {"le nombre du réseau d'un jour (DATE 2014-02-03) : la moyenne de k · R des\n"
      "observateurs du jour qui ont un k, leur nombre et l'écart type, SILSO à côté",
      "the network's number of a day (DATE 2014-02-03): the mean of k · R over the\n"
      "day's observers who have a k, their number and the standard deviation, SILSO\n"
      "beside"},
     withPeriod({{"--k", 1}}),
     printDay},
    {"mois", "mois MOIS ANNEE [--k global]",
     {"le mois du réseau : chaque observateur, ses jours, son R moyen et son k ; les\n"
      "jours du réseau et son nombre mensuel, la moyenne de SILSO à côté",
      "the network's month: each observer, their days, mean R and k; the network's\n"
      "days and monthly number, SILSO's mean beside"},
     withPeriod({{"--k", 1}}),
     printMonth},
    {"serie", "serie [--du D] [--au D] [--k global] --csv F",
     {"la série mensuelle du réseau écrite dans F (year;month;days;r_network;\n"
      "observers_mean;r_silso). Par défaut, le k de chaque observateur pour un jour\n"
      "est celui des années d'avant (un réseau publie un mois avec les coefficients\n"
      "qu'il connaissait) ; --k global prend un k par observateur sur toute la\n"
      "période (rapport des sommes, au moins 100 jours communs)",
      "the network's monthly series written to F (year;month;days;r_network;\n"
      "observers_mean;r_silso). By default each observer's k of a day is the one of\n"
      "the years before (a network publishes a month with the coefficients it knew);\n"
      "--k global takes one k per observer over the whole period (ratio of sums, at\n"
      "least 100 paired days)"},
     withPeriod({{"--k", 1}, {"--csv", 1}}),
     writeSeries},
    {"graphique", "graphique mensuel|k|observateurs --png F | --svg F | --pdf F [--du D] [--au D] [--k global]",
     {"un graphique du réseau écrit entier en PNG, SVG ou PDF : mensuel (le nombre\n"
      "mensuel du réseau et celui de SILSO), k (le k annuel de chaque observateur, sa\n"
      "dérive) ou observateurs (le nombre d'observateurs par mois)",
      "a picture of the network written whole as PNG, SVG or PDF: mensuel (the\n"
      "network's monthly number and SILSO's), k (each observer's yearly k, its drift)\n"
      "or observateurs (the number of observers per month)"},
     withPeriod({{"--png", 1}, {"--svg", 1}, {"--pdf", 1}, {"--k", 1}}),
     drawPicture},
    {"bulletin", "bulletin MOIS ANNEE --pdf F [--k global]",
     {"le bulletin du mois en PDF, A4 : chaque observateur, ses jours, son R moyen et\n"
      "son k ; les jours du réseau et sa moyenne ; le graphique mensuel",
      "the month's bulletin as PDF, A4: each observer, their days, mean R and k; the\n"
      "network's days and mean; the monthly picture"},
     withPeriod({{"--pdf", 1}, {"--k", 1}}),
     writeBulletin},
};

}  // namespace

const std::vector<ReseauAction>& reseauActions() { return kActions; }

}  // namespace kavrel::cli::network
