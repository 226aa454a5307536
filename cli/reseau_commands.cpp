// `kavrel reseau`: the network's family of actions (cli/family.h), its base given by
// --base B, its rows in reseau_actions.cpp. Qt-free.
#include "cli/reseau_commands.h"

#include "cli/family.h"
#include "cli/reseau_request.h"

namespace kavrel::cli {
namespace {

const Family kReseau{
    "reseau",
    "--base",
    "B",
    "kavrel : --base demande le nom de la base",
    "action du réseau inconnue",
    "reseau [--base B] observateurs|importer|silso|k|jour|mois|serie|graphique|bulletin ...",
    {"la base d'un réseau d'observateurs (Réseau) : leurs comptes quotidiens, le k de\n"
     "chacun, le nombre du réseau. La base est B : un fichier, ou un serveur\n"
     "PostgreSQL partagé (postgresql://hôte/base?user=rôle ; le mot de passe vient de\n"
     "~/.pgpass ou de PGPASSWORD, jamais de la ligne de commande) ; sinon\n"
     "$XDG_DATA_HOME/kavrel/reseau.sqlite, créé au premier usage. ACTION est l'une\n"
     "des suivantes",
     "the base of a network of observers (Réseau): their daily counts, each one's k,\n"
     "the network's number. The base is B: a file, or a shared PostgreSQL server\n"
     "(postgresql://host/base?user=role; the password comes from ~/.pgpass or\n"
     "PGPASSWORD, never from the command line); else\n"
     "$XDG_DATA_HOME/kavrel/reseau.sqlite, created on first use. ACTION is one of\n"
     "the following"},
    "une base ou un fichier illisible ou impossible à écrire,\n"
    "un serveur qui ne répond pas, avec la raison",
    "une demande refusée (usage, champ,\nligne d'un fichier importé, droit que le rôle n'a pas)",
    reseau::defaultBasePath,
};

}  // namespace

std::string_view reseauSynopsis() { return kReseau.synopsis; }

std::vector<HelpEntry> reseauHelp() { return familyHelp(kReseau, network::reseauActions()); }

Status runReseau(const std::vector<std::string>& arguments, std::string_view decimalSeparator, std::ostream& out,
                 std::ostream& err) {
  return runFamily(kReseau, network::reseauActions(), arguments, decimalSeparator, out, err);
}

}  // namespace kavrel::cli
