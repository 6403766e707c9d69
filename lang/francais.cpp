// The French language module, Lang/Francais.so: the default texts of the
// frame's menus and of the main window.
//
// Where the program builds a message around a text, the comment gives what
// comes before or after it, so that each text reads well in its place.
// A line break inside a message is "\r".

#include "cp1252.h"

namespace
{

using langmodule::Text;

constexpr Text kTexts[] = {
    // Frame menus; "&" marks the accelerator letter.
    {1, "&Fichier"},
    {2, "&Quitter"},
    {3, "&Affichage"},
    {4, "&Tri par date"},
    {5, "T&ri par société"},
    {6, "Tr&i par catégorie"},
    {7, "Tri &par intitulé"},
    {8, "Tri p&ar rendez-vous"},
    {9, "Tri par &statut"},
    {10, "Tri par &marqueur"},
    {11, "&Ordre croissant"},
    {12, "Or&dre décroissant"},
    {13, "&Options"},
    {14, "&Personnaliser..."},
    {15, "A&ide"},
    {16, "&A Propos"},

    // Frame caption: "ORVALDIS <version> :: <text> ::".
    {50, "Gestion de vos candidatures"},

    // Side panels, links and pages of the main window.
    {100, "Application"},
    {101, "Quitter le logiciel"},
    {102, "Assistant"},
    {103, "Quelle candidature voulez-vous éditer ?"},
    {104, "Nouvelle candidature"},
    {105, "Aperçu avant impression"},
    {106, "Imprimer le listing"},
    {107, "Exporter vers Excel"},
    {108, "Candidature"}, // also the company's count in the editor, for 0 or 1
    {109, "Imprimer le rapport"},
    {110, "Enregistrer le rapport"},
    {111, "Supprimer"},
    {112, "Retour au listing"},
    {113, "Annuaire des sociétés"},
    {114, "Ajouter une société"},
    {115, "Imprimer"},
    {116, "Importer des données"},
    {117, "Exporter les données"},
    {118, "Envoyer fiche par Email"},
    {119, "Candidatures"}, // also the company's count in the editor, for 2 or more
    {120, "Annuaire"},
    {121, "Navigateur"},

    // Groups, radio buttons and buttons of the application editor.
    {150, "Type"},
    {151, "Méthode"},
    {152, "Société"},
    {153, "Contact"},
    {154, "Intitulé de la candidature"},
    {155, "Source de la candidature"},
    {156, "Offre"},
    {157, "CV"},
    {158, "Lettre de motivation"},
    {159, "Accusé de réception"},
    {160, "RDV/Entretien"},
    {161, "Suite/Refus"},
    {162, "Bloc-notes"},
    {163, "Quelques chiffres sur cette société"},
    {164, "Marquer cette candidature comme terminée"},
    {165, "Réponse à une offre"},
    {166, "Candidature spontanée"},
    {167, "Site Internet"},
    {168, "Email"},
    {169, "Candidature papier"},
    {170, "Ajout"}, // add button while nothing is attached
    {171, "Modif"}, // add button once something is attached
    {172, "Supprimer"},
    {173, "Pas d'offre liée"},
    {174, "Pas de CV lié"},
    {175, "Pas de lettre de motivation liée"},
    {176, "Pas d'accusé de réception lié"},
    {179, "Pas de suite liée"},
    {180, "Définir"},

    // Contact numbers: "<text> <number>"; in the report "<text>: <number>".
    {182, "Tél"},
    {183, "Fax"},
    {184, "Portable"},
    // Date labels of the document slots: "<text> dd/mm/yyyy".
    {185, "Date de candidature:"},
    // An attached file: "<text> 'name'"; also the first word of the save
    // dialogs' filters, "<text> PDF" and "<text> Excel (*.xls)".
    {186, "Fichier"},
    {187, "Texte de l'offre inséré"},
    {188, "Date d'envoi:"},
    {189, "Texte du CV inséré"},
    {190, "Texte de la lettre de motivation inséré"},
    {191, "Aucun rendez-vous fixé"},
    {192, "Rendez-vous fixé le"},
    {193, "Date de réception:"},
    {194, "Texte de l'accusé de réception inséré"},
    {195, "Texte de la suite inséré"},

    // The company's figures in the editor: "<text>: <count> (...)".
    {196, "Réponse"},
    {197, "Réponses"},
    {198, "Entretien"},
    {199, "Entretiens"},
    {200, "Taux"},                   // "(<text>: 25%)"
    {201, "Temps de réponse moyen"}, // "<text>: 3,5 <202 or 203>"
    {202, "jour"},
    {203, "jours"},
    {204, "Temps de réponse moyen: ND"},

    // Questions before detaching a document.
    {205, "Voulez-vous vraiment détacher le CV de cette candidature ?"},
    {206, "Voulez-vous vraiment détacher la lettre de motivation de cette candidature ?"},
    {207, "Voulez-vous vraiment détacher l'accusé de réception de cette candidature ?"},
    {208, "Voulez-vous vraiment détacher la suite de cette candidature ?"},
    {211, "Voulez-vous vraiment détacher l'offre de cette candidature ?"},

    // Filter links under the listing.
    {209, "Voir les candidatures terminées"},    // while they are hidden
    {210, "Masquer les candidatures terminées"}, // while they are shown
    {215, "Voir toutes les candidatures"},       // while a filter is on
    {216, "Voir les alarmes uniquement"},
    {217, "Voir les candidatures à relancer uniquement"},

    // Title of the application report: "<text> dd/mm/yyyy".
    {212, "Candidature du"},
    {213, "Voulez-vous vraiment supprimer cette candidature ?\r"
          "Ses notes, ses textes insérés et ses pages web importées seront également supprimés."},
    {214, "Une pièce jointe est introuvable ou ne peut pas être ouverte."},

    // Deleting a favourite: "<219>.\r<220>." and "<221>: <error>".
    {218, "Voulez-vous vraiment supprimer ce favori ?"},
    {219, "Impossible de faire la copie de sécurité du fichier des favoris"},
    {220, "Le favori n'a pas été supprimé"},
    {221, "Une erreur est survenue lors de la réécriture du fichier des favoris"},

    // File errors: "<222>\r<path>\r\r<error>", "<223>\r<path>\r\r<reason>".
    {222, "Impossible de supprimer le fichier"},
    {223, "Impossible de déplacer le fichier vers le répertoire de sauvegarde"},
    // An application without a title: "<text>."
    {224, "Veuillez saisir l'intitulé de la candidature"},
    // Failed rewrite of the applications file, after which the program ends:
    // "<225>\r<226> <227>\r\r<error>".
    {225, "Une erreur critique est survenue lors de la régénération du fichier des candidatures."},
    {226, "L'application va se terminer maintenant. Si au prochain lancement vous constatez des "
          "erreurs dans le listing, restaurez manuellement le fichier \"candidatures.dat\""},
    {227, "qui se trouve dans le répertoire \"Backup\"."},
    // "<228> <path>\r\r<error>"
    {228, "Impossible de supprimer le fichier texte"},
    // "<229> \"candidatures.dat\"\r\r<error>"
    {229, "Une erreur est survenue lors de la mise à jour de"},
};

static_assert(langmodule::coversProgramIds(kTexts),
              "the French module must give a text for each of the program's text ids");

constexpr auto kEncoded =
    langmodule::encode<sizeof kTexts / sizeof kTexts[0], langmodule::poolSize(kTexts)>(kTexts);

} // namespace

LANGMODULE_EXPORT const char* GetTxt(int id)
{
    return kEncoded.find(id);
}
