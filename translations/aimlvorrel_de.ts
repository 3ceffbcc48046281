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
