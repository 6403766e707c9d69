// The English language module, Lang/English.so: the texts of the frame's
// menus and of the main window, id for id as in the French module.
//
// Where the program builds a message around a text, the comment gives what
// comes before or after it. A line break inside a message is "\r".

#include "cp1252.h"

namespace
{

using langmodule::Text;

constexpr Text kTexts[] = {
    // Frame menus; "&" marks the accelerator letter, unique within its menu.
    {1, "&File"},
    {2, "&Quit"},
    {3, "&View"},
    {4, "Sort by &date"},
    {5, "Sort by &company"},
    {6, "Sort by c&ategory"},
    {7, "Sort by &title"},
    {8, "Sort by a&ppointment"},
    {9, "Sort by &status"},
    {10, "Sort by &marker"},
    {11, "Asce&nding order"},
    {12, "D&escending order"},
    {13, "&Options"},
    {14, "&Customise..."},
    {15, "&Help"},
    {16, "&About"},

    // Frame caption: "ORVALDIS <version> :: <text> ::".
    {50, "Managing your job applications"},

    // Side panels, links and pages of the main window.
    {100, "Program"},
    {101, "Quit the program"},
    {102, "Assistant"},
    {103, "Which application do you want to edit?"},
    {104, "New application"},
    {105, "Print preview"},
    {106, "Print the listing"},
    {107, "Export to Excel"},
    {108, "Application"}, // also the company's count in the editor, for 0 or 1
    {109, "Print the report"},
    {110, "Save the report"},
    {111, "Delete"},
    {112, "Back to the listing"},
    {113, "Company directory"},
    {114, "Add a company"},
    {115, "Print"},
    {116, "Import data"},
    {117, "Export data"},
    {118, "Send sheet by e-mail"},
    {119, "Applications"}, // also the company's count in the editor, for 2 or more
    {120, "Directory"},
    {121, "Browser"},

    // Groups, radio buttons and buttons of the application editor.
    {150, "Type"},
    {151, "Method"},
    {152, "Company"},
    {153, "Contact"},
    {154, "Title of the application"},
    {155, "Source of the application"},
    {156, "Job offer"},
    {157, "CV"},
    {158, "Covering letter"},
    {159, "Acknowledgement of receipt"},
    {160, "Appointment/Interview"},
    {161, "Reply/Refusal"},
    {162, "Notepad"},
    {163, "A few figures about this company"},
    {164, "Mark this application as finished"},
    {165, "Answer to an offer"},
    {166, "Unsolicited application"},
    {167, "Web site"},
    {168, "E-mail"},
    {169, "Paper application"},
    {170, "Add"},  // add button while nothing is attached
    {171, "Edit"}, // add button once something is attached
    {172, "Remove"},
    {173, "No job offer attached"},
    {174, "No CV attached"},
    {175, "No covering letter attached"},
    {176, "No acknowledgement attached"},
    {179, "No reply attached"},
    {180, "Set"},

    // Contact numbers: "<text> <number>"; in the report "<text>: <number>".
    {182, "Tel"},
    {183, "Fax"},
    {184, "Mobile"},
    // Date labels of the document slots: "<text> dd/mm/yyyy".
    {185, "Application date:"},
    // An attached file: "<text> 'name'"; also the first word of the save
    // dialogs' filters, "<text> PDF" and "<text> Excel (*.xls)".
    {186, "File"},
    {187, "Job offer text inserted"},
    {188, "Date sent:"},
    {189, "CV text inserted"},
    {190, "Covering letter text inserted"},
    {191, "No appointment set"},
    {192, "Appointment set for"},
    {193, "Date received:"},
    {194, "Acknowledgement text inserted"},
    {195, "Reply text inserted"},

    // The company's figures in the editor: "<text>: <count> (...)".
    {196, "Reply"},
    {197, "Replies"},
    {198, "Interview"},
    {199, "Interviews"},
    {200, "Rate"},                  // "(<text>: 25%)"
    {201, "Average response time"}, // "<text>: 3.5 <202 or 203>"
    {202, "day"},
    {203, "days"},
    {204, "Average response time: N/A"},

    // Questions before detaching a document.
    {205, "Do you really want to detach the CV from this application?"},
    {206, "Do you really want to detach the covering letter from this application?"},
    {207, "Do you really want to detach the acknowledgement of receipt from this application?"},
    {208, "Do you really want to detach the reply from this application?"},
    {211, "Do you really want to detach the job offer from this application?"},

    // Filter links under the listing.
    {209, "Show finished applications"}, // while they are hidden
    {210, "Hide finished applications"}, // while they are shown
    {215, "Show all applications"},      // while a filter is on
    {216, "Show alarms only"},
    {217, "Show only applications to follow up"},

    // Title of the application report: "<text> dd/mm/yyyy".
    {212, "Application dated"},
    {213, "Do you really want to delete this application?\r"
          "Its notes, inserted texts and imported web pages will be deleted too."},
    {214, "An attachment cannot be found or cannot be opened."},

    // Deleting a favourite: "<219>.\r<220>." and "<221>: <error>".
    {218, "Do you really want to delete this favourite?"},
    {219, "The safety copy of the favourites file could not be made"},
    {220, "The favourite has not been deleted"},
    {221, "An error occurred while rewriting the favourites file"},

    // File errors: "<222>\r<path>\r\r<error>", "<223>\r<path>\r\r<reason>".
    {222, "Unable to delete the file"},
    {223, "Unable to move the file to the backup directory"},
    // An application without a title: "<text>."
    {224, "Please enter the title of the application"},
    // Failed rewrite of the applications file, after which the program ends:
    // "<225>\r<226> <227>\r\r<error>".
    {225, "A critical error occurred while rebuilding the applications file."},
    {226, "The program will now close. If you notice errors in the listing at the next start, "
          "restore by hand the file \"candidatures.dat\""},
    {227, "that is in the \"Backup\" directory."},
    // "<228> <path>\r\r<error>"
    {228, "Unable to delete the text file"},
    // "<229> \"candidatures.dat\"\r\r<error>"
    {229, "An error occurred while updating"},
};

static_assert(langmodule::coversProgramIds(kTexts),
              "the English module must give a text for each of the program's text ids");

constexpr auto kEncoded =
    langmodule::encode<sizeof kTexts / sizeof kTexts[0], langmodule::poolSize(kTexts)>(kTexts);

} // namespace

LANGMODULE_EXPORT const char* GetTxt(int id)
{
    return kEncoded.find(id);
}
