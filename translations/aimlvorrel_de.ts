<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CategoryEdit</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>„%1“ ist keine gültige ganze Zahl</translation>
    </message>
    <message>
        <source>&apos;%1&apos; options are too many for a random list; the most it takes is %2</source>
        <translation>„%1“ Optionen sind zu viele für eine Zufallsliste; sie nimmt höchstens %2</translation>
    </message>
</context>
<context>
    <name>DocumentController</name>
    <message>
        <source>Create Category</source>
        <translation>Kategorie anlegen</translation>
    </message>
    <message>
        <source>Edit Category</source>
        <translation>Kategorie bearbeiten</translation>
    </message>
    <message>
        <source>Delete Category</source>
        <translation>Kategorie löschen</translation>
    </message>
    <message>
        <source>Edit Cell</source>
        <translation>Zelle bearbeiten</translation>
    </message>
</context>
<context>
    <name>HelpDocuments</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Could not execute the help file</source>
        <translation>Die Hilfedatei konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Could not execute the AIML Tags file</source>
        <translation>Die Datei „AIML Tags“ konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Could not execute the AIML Tutorial file</source>
        <translation>Die Datei „AIML Tutorial“ konnte nicht geöffnet werden</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Unable to write to %1. %2</source>
        <translation>%1 kann nicht geschrieben werden. %2</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>Written by the AIML Vorrel developers</source>
        <translation>Geschrieben von den Entwicklern von AIML Vorrel</translation>
    </message>
    <message>
        <source>Copyright (c) 2026 the AIML Vorrel developers</source>
        <translation>Copyright (c) 2026 die Entwickler von AIML Vorrel</translation>
    </message>
    <message>
        <source>Design, programming and icons by the AIML Vorrel developers</source>
        <translation>Gestaltung, Programmierung und Symbole von den Entwicklern von AIML Vorrel</translation>
    </message>
    <message>
        <source>Developed from January to March 2026</source>
        <translation>Entwickelt von Januar bis März 2026</translation>
    </message>
    <message>
        <source>Artificial Intelligence Markup Language Professional Editor</source>
        <translation>Professioneller Editor für die Artificial Intelligence Markup Language</translation>
    </message>
    <message>
        <source>The icons were drawn for AIML Vorrel and share its licence</source>
        <translation>Die Symbole wurden für AIML Vorrel gezeichnet und stehen unter seiner Lizenz</translation>
    </message>
    <message>
        <source>Visit the A.L.I.C.E. AI Foundation, the publisher of AIML</source>
        <translation>Besuchen Sie die A.L.I.C.E. AI Foundation, die Herausgeberin von AIML</translation>
    </message>
    <message>
        <source>Website: http://www.alicebot.org</source>
        <translation>Website: http://www.alicebot.org</translation>
    </message>
    <message>
        <source>For more information about AIML Vorrel please refer to the readme.rtf file provided.</source>
        <translation>Weitere Informationen zu AIML Vorrel finden Sie in der beiliegenden Datei readme.rtf.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Visit Cendaro Website</source>
        <translation>Cendaro-Website besuchen</translation>
    </message>
    <message>
        <source>E-mail me</source>
        <translation>E-Mail an mich</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>(None)</source>
        <translation>(Keines)</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Help Contents</source>
        <translation>Hilfethemen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Current Document:</source>
        <translation>Dokument:</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Conversation</source>
        <translation>Gespräch</translation>
    </message>
    <message>
        <source>Your sentence</source>
        <translation>Ihr Satz</translation>
    </message>
    <message>
        <source>Say it</source>
        <translation>Sagen</translation>
    </message>
    <message>
        <source>Vessra</source>
        <translation>Vessra</translation>
    </message>
    <message>
        <source>AIML Files (*.aiml)</source>
        <translation>AIML-Dateien (*.aiml)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>Create a new file</source>
        <translation>Eine neue Datei anlegen</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open an existing file</source>
        <translation>Eine vorhandene Datei öffnen</translation>
    </message>
    <message>
        <source>R&amp;eopen</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save current file</source>
        <translation>Die aktuelle Datei speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Save current file under a new name</source>
        <translation>Die aktuelle Datei unter einem neuen Namen speichern</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Print current file</source>
        <translation>Die aktuelle Datei drucken</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>Drucker&amp;einrichtung...</translation>
    </message>
    <message>
        <source>Change printer setup</source>
        <translation>Die Druckereinrichtung ändern</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Exit this application</source>
        <translation>Das Programm beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Undo the last change to the categories, or to the text on the Preview page</source>
        <translation>Die letzte Änderung an den Kategorien oder am Text der Seite „Vorschau“ rückgängig machen</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Redo the last change undone</source>
        <translation>Die zuletzt rückgängig gemachte Änderung wiederherstellen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy selected item to clipboard</source>
        <translation>Die Auswahl in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>Find text in the preview, or in the table on the Categories page</source>
        <translation>Text in der Vorschau oder in der Tabelle der Seite „Kategorien“ suchen</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>&amp;Nächstes suchen</translation>
    </message>
    <message>
        <source>Find the next occurrence of the text</source>
        <translation>Das nächste Vorkommen des Textes suchen</translation>
    </message>
    <message>
        <source>Find Pre&amp;vious</source>
        <translation>&amp;Vorheriges suchen</translation>
    </message>
    <message>
        <source>Find the previous occurrence of the text</source>
        <translation>Das vorherige Vorkommen des Textes suchen</translation>
    </message>
    <message>
        <source>R&amp;eplace...</source>
        <translation>Erse&amp;tzen...</translation>
    </message>
    <message>
        <source>Replace text in the preview</source>
        <translation>Text in der Vorschau ersetzen</translation>
    </message>
    <message>
        <source>&amp;Go to Line...</source>
        <translation>&amp;Gehe zu Zeile...</translation>
    </message>
    <message>
        <source>Go to a line of the preview</source>
        <translation>Zu einer Zeile der Vorschau springen</translation>
    </message>
    <message>
        <source>&amp;AIML</source>
        <translation>&amp;AIML</translation>
    </message>
    <message>
        <source>&amp;Category</source>
        <translation>&amp;Kategorie</translation>
    </message>
    <message>
        <source>Create &amp;New</source>
        <translation>&amp;Neue anlegen</translation>
    </message>
    <message>
        <source>Create a new category</source>
        <translation>Eine neue Kategorie anlegen</translation>
    </message>
    <message>
        <source>&amp;Edit Selected</source>
        <translation>Ausgewählte &amp;bearbeiten</translation>
    </message>
    <message>
        <source>Edit the selected category</source>
        <translation>Die ausgewählte Kategorie bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Delete Selected</source>
        <translation>Ausgewählte &amp;löschen</translation>
    </message>
    <message>
        <source>Delete the selected category</source>
        <translation>Die ausgewählte Kategorie löschen</translation>
    </message>
    <message>
        <source>&amp;View Page</source>
        <translation>&amp;Seite anzeigen</translation>
    </message>
    <message>
        <source>&amp;Categories</source>
        <translation>&amp;Kategorien</translation>
    </message>
    <message>
        <source>Go to the categories page</source>
        <translation>Zur Seite „Kategorien“ wechseln</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>&amp;Vorschau</translation>
    </message>
    <message>
        <source>Go to the Preview page</source>
        <translation>Zur Seite „Vorschau“ wechseln</translation>
    </message>
    <message>
        <source>&amp;Vessra</source>
        <translation>V&amp;essra</translation>
    </message>
    <message>
        <source>Go to Vessra page</source>
        <translation>Zur Seite „Vessra“ wechseln</translation>
    </message>
    <message>
        <source>&amp;Refresh Document</source>
        <translation>Dokument &amp;aktualisieren</translation>
    </message>
    <message>
        <source>Refresh the Preview page</source>
        <translation>Die Seite „Vorschau“ aktualisieren</translation>
    </message>
    <message>
        <source>&amp;General Report</source>
        <translation>Allgemeiner &amp;Bericht</translation>
    </message>
    <message>
        <source>Get a general report of the current AIML file</source>
        <translation>Einen allgemeinen Bericht über die aktuelle AIML-Datei anzeigen</translation>
    </message>
    <message>
        <source>Check &amp;Document</source>
        <translation>Dokument &amp;prüfen</translation>
    </message>
    <message>
        <source>Check the document for errors and warnings</source>
        <translation>Das Dokument auf Fehler und Warnungen prüfen</translation>
    </message>
    <message>
        <source>&amp;Interpret AIML</source>
        <translation>AIML &amp;interpretieren</translation>
    </message>
    <message>
        <source>Answer on the Vessra page as an AIML interpreter would</source>
        <translation>Auf der Seite „Vessra“ wie ein AIML-Interpreter antworten</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>View and edit AIML Vorrel preferences</source>
        <translation>Die Einstellungen von AIML Vorrel anzeigen und ändern</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Help &amp;Topics</source>
        <translation>&amp;Hilfethemen</translation>
    </message>
    <message>
        <source>Display the help contents screen</source>
        <translation>Die Inhaltsübersicht der Hilfe anzeigen</translation>
    </message>
    <message>
        <source>AIML Ta&amp;gs</source>
        <translation>AIML-&amp;Tags</translation>
    </message>
    <message>
        <source>Launch the AIML tags file as provided by the ALICE AI Foundation</source>
        <translation>Die Datei der AIML-Tags von der ALICE AI Foundation öffnen</translation>
    </message>
    <message>
        <source>AIML T&amp;utorial</source>
        <translation>AIML-&amp;Einführung</translation>
    </message>
    <message>
        <source>Launch the AIML tutorial distributed with AIML Vorrel</source>
        <translation>Die mit AIML Vorrel gelieferte AIML-Einführung öffnen</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>Show program information</source>
        <translation>Informationen über das Programm anzeigen</translation>
    </message>
    <message>
        <source>Loading: Scanning patterns...</source>
        <translation>Laden: Muster werden gelesen...</translation>
    </message>
    <message>
        <source>Loading: Scanning that tags...</source>
        <translation>Laden: That-Tags werden gelesen...</translation>
    </message>
    <message>
        <source>Loading: Scanning templates...</source>
        <translation>Laden: Vorlagen werden gelesen...</translation>
    </message>
    <message>
        <source>Do you wish to save changes to current document?</source>
        <translation>Möchten Sie die Änderungen am aktuellen Dokument speichern?</translation>
    </message>
    <message>
        <source>The categories have changed since the text was last regenerated. Regenerate the text before saving?</source>
        <translation>Die Kategorien wurden geändert, seit der Text zuletzt neu erzeugt wurde. Den Text vor dem Speichern neu erzeugen?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>The file is read-only. Replace it anyway?</source>
        <translation>Die Datei ist schreibgeschützt. Trotzdem ersetzen?</translation>
    </message>
    <message>
        <source>Allocating resources...</source>
        <translation>Ressourcen werden bereitgestellt...</translation>
    </message>
    <message>
        <source>The document &quot;%1&quot; no longer exists. It has been removed from the list.</source>
        <translation>Das Dokument „%1“ existiert nicht mehr. Es wurde aus der Liste entfernt.</translation>
    </message>
    <message>
        <source>Are you sure you want to delete this category?</source>
        <translation>Möchten Sie diese Kategorie wirklich löschen?</translation>
    </message>
    <message>
        <source>Cannot find &quot;%1&quot;</source>
        <translation>„%1“ wurde nicht gefunden</translation>
    </message>
    <message>
        <source>The regular expression is not valid</source>
        <translation>Der reguläre Ausdruck ist ungültig</translation>
    </message>
    <message>
        <source>The replacement has characters this 8-bit document cannot hold</source>
        <translation>Die Ersetzung enthält Zeichen, die dieses 8-Bit-Dokument nicht aufnehmen kann</translation>
    </message>
    <message>
        <source>Search stopped</source>
        <translation>Suche abgebrochen</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederherstellen: %1</translation>
    </message>
    <message>
        <source>Passed the last cell; found from the first</source>
        <translation>Ende der Tabelle erreicht; ab der ersten Zelle gefunden</translation>
    </message>
    <message>
        <source>Passed the first cell; found from the last</source>
        <translation>Anfang der Tabelle erreicht; ab der letzten Zelle gefunden</translation>
    </message>
    <message>
        <source>Passed the end of the text; found from the start</source>
        <translation>Ende des Textes erreicht; ab dem Anfang gefunden</translation>
    </message>
    <message>
        <source>Passed the start of the text; found from the end</source>
        <translation>Anfang des Textes erreicht; ab dem Ende gefunden</translation>
    </message>
    <message>
        <source>Replace All stopped; nothing was replaced</source>
        <translation>„Alle ersetzen“ abgebrochen; nichts wurde ersetzt</translation>
    </message>
    <message>
        <source>Nothing was replaced: the text would grow too large</source>
        <translation>Nichts wurde ersetzt: Der Text würde zu groß</translation>
    </message>
    <message>
        <source>Replaced 1 occurrence</source>
        <translation>1 Vorkommen ersetzt</translation>
    </message>
    <message>
        <source>Replaced %1 occurrences</source>
        <translation>%1 Vorkommen ersetzt</translation>
    </message>
    <message>
        <source>Go to Line</source>
        <translation>Gehe zu Zeile</translation>
    </message>
    <message>
        <source>Line number (1 - %1):</source>
        <translation>Zeilennummer (1 - %1):</translation>
    </message>
    <message>
        <source>You: </source>
        <translation>Sie: </translation>
    </message>
    <message>
        <source>Vessra: </source>
        <translation>Vessra: </translation>
    </message>
    <message>
        <source>Find in F&amp;iles...</source>
        <translation>In &amp;Dateien suchen...</translation>
    </message>
    <message>
        <source>Find the text in every AIML file of the document&apos;s folder</source>
        <translation>Den Text in allen AIML-Dateien des Dokumentordners suchen</translation>
    </message>
    <message>
        <source>Whole &amp;Folder</source>
        <translation>&amp;Ganzer Ordner</translation>
    </message>
    <message>
        <source>With Interpret AIML, answer and check with every AIML file of the document&apos;s folder</source>
        <translation>Zusammen mit „AIML interpretieren“ mit allen AIML-Dateien des Dokumentordners antworten und prüfen</translation>
    </message>
</context>
<context>
    <name>TStartUp</name>
    <message>
        <source>Welcome to Cendaro AIML Vorrel 3.0</source>
        <translation>Willkommen bei Cendaro AIML Vorrel 3.0</translation>
    </message>
    <message>
        <source>New AIML Document</source>
        <translation>Neues AIML-Dokument</translation>
    </message>
    <message>
        <source>Open Last Edited AIML Document</source>
        <translation>Zuletzt bearbeitetes AIML-Dokument öffnen</translation>
    </message>
    <message>
        <source>Open Existing AIML Document...</source>
        <translation>Vorhandenes AIML-Dokument öffnen...</translation>
    </message>
    <message>
        <source>Help On AIML Vorrel 3.0</source>
        <translation>Hilfe zu AIML Vorrel 3.0</translation>
    </message>
    <message>
        <source>Tutorial on AIML 1.0</source>
        <translation>Einführung in AIML 1.0</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>TfrmFind</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>&amp;Suchen nach:</translation>
    </message>
    <message>
        <source>Re&amp;place with:</source>
        <translation>&amp;Ersetzen durch:</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Groß-/&amp;Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>&amp;Whole words</source>
        <translation>Nur &amp;ganze Wörter</translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation>Regulärer &amp;Ausdruck</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>E&amp;rsetzen</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>A&amp;lle ersetzen</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
</context>
<context>
    <name>TfrmNew</name>
    <message>
        <source>New Document</source>
        <translation>Neues Dokument</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>Autor:</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TfrmOptions</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Preview font:</source>
        <translation>Schrift der Vorschau:</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Initial Directory:</source>
        <translation>Anfangsordner:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Wählen...</translation>
    </message>
    <message>
        <source>Code Completion (AutoText)</source>
        <translation>Code-Vervollständigung (AutoText)</translation>
    </message>
    <message>
        <source>Limited code completion</source>
        <translation>Eingeschränkte Code-Vervollständigung</translation>
    </message>
    <message>
        <source>No code completion</source>
        <translation>Keine Code-Vervollständigung</translation>
    </message>
    <message>
        <source>Make comments italics</source>
        <translation>Kommentare kursiv darstellen</translation>
    </message>
    <message>
        <source>Show Welcome dialog at startup</source>
        <translation>Begrüßungsfenster beim Start anzeigen</translation>
    </message>
    <message>
        <source>Automatically uppercase patterns</source>
        <translation>Muster automatisch großschreiben</translation>
    </message>
    <message>
        <source>Set to defaults</source>
        <translation>Standardwerte</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Select Initial Directory...</source>
        <translation>Anfangsordner auswählen...</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>„%1“ ist keine gültige ganze Zahl</translation>
    </message>
    <message>
        <source>A value holds a line break or starts or ends with a blank</source>
        <translation>Ein Wert enthält einen Zeilenumbruch oder beginnt oder endet mit einem Leerzeichen</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Bot</source>
        <translation>Bot</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Bot properties</source>
        <translation>Eigenschaften des Bots</translation>
    </message>
    <message>
        <source>What &lt;bot name=&quot;...&quot;/&gt; gives. A row without a name is left out.</source>
        <translation>Was &lt;bot name=&quot;...&quot;/&gt; ergibt. Eine Zeile ohne Namen zählt nicht.</translation>
    </message>
</context>
<context>
    <name>TfrmReport</name>
    <message>
        <source>General Report</source>
        <translation>Allgemeiner Bericht</translation>
    </message>
    <message>
        <source>Text Report</source>
        <translation>Textbericht</translation>
    </message>
    <message>
        <source>Words:</source>
        <translation>Wörter:</translation>
    </message>
    <message>
        <source>Characters:</source>
        <translation>Zeichen:</translation>
    </message>
    <message>
        <source>AIML Report</source>
        <translation>AIML-Bericht</translation>
    </message>
    <message>
        <source>AIML version:</source>
        <translation>AIML-Version:</translation>
    </message>
    <message>
        <source>Categories:</source>
        <translation>Kategorien:</translation>
    </message>
    <message>
        <source>&lt;random&gt; tags:</source>
        <translation>&lt;random&gt;-Tags:</translation>
    </message>
    <message>
        <source>&lt;srai&gt; tags:</source>
        <translation>&lt;srai&gt;-Tags:</translation>
    </message>
    <message>
        <source>&lt;think&gt; tags:</source>
        <translation>&lt;think&gt;-Tags:</translation>
    </message>
</context>
<context>
    <name>TfrmSelEdit</name>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Script</source>
        <translation>Skript</translation>
    </message>
    <message>
        <source>Pattern</source>
        <translation>Muster</translation>
    </message>
    <message>
        <source>That</source>
        <translation>That</translation>
    </message>
    <message>
        <source>Template</source>
        <translation>Vorlage</translation>
    </message>
    <message>
        <source>&amp;SRAI</source>
        <translation>&amp;SRAI</translation>
    </message>
    <message>
        <source>&amp;RANDOM</source>
        <translation>&amp;RANDOM</translation>
    </message>
    <message>
        <source>&amp;JAVASCRIPT</source>
        <translation>&amp;JAVASCRIPT</translation>
    </message>
    <message>
        <source>AutoText</source>
        <translation>AutoText</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Topic</source>
        <translation>Thema</translation>
    </message>
    <message>
        <source>RANDOM</source>
        <translation>RANDOM</translation>
    </message>
    <message>
        <source>How many options you want to enter: </source>
        <translation>Wie viele Optionen möchten Sie eingeben: </translation>
    </message>
</context>
<context>
    <name>TpBar</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
</context>
<context>
    <name>vorrel::CheckPanel</name>
    <message>
        <source>No problems found</source>
        <translation>Keine Probleme gefunden</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Column</source>
        <translation>Spalte</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Problems</source>
        <translation>Probleme</translation>
    </message>
    <message>
        <source>%1 error</source>
        <translation>%1 Fehler</translation>
    </message>
    <message>
        <source>%1 errors</source>
        <translation>%1 Fehler</translation>
    </message>
    <message>
        <source>%1 warning</source>
        <translation>%1 Warnung</translation>
    </message>
    <message>
        <source>%1 warnings</source>
        <translation>%1 Warnungen</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Lines found</source>
        <translation>Gefundene Zeilen</translation>
    </message>
    <message>
        <source>Nothing found</source>
        <translation>Nichts gefunden</translation>
    </message>
    <message>
        <source>%1 found in %2</source>
        <translation>%1 gefunden in %2</translation>
    </message>
    <message>
        <source>1 line</source>
        <translation>1 Zeile</translation>
    </message>
    <message>
        <source>%1 lines</source>
        <translation>%1 Zeilen</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
</context>
<context>
    <name>vorrel::GridLook</name>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
</context>
<context>
    <name>vorrel::PreviewEditor</name>
    <message>
        <source>Document text</source>
        <translation>Dokumenttext</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>Alle ersetzen</translation>
    </message>
</context>
</TS>
