<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>DAmlReader</name>
    <message>
        <source>%1 cannot hold the element %2</source>
        <translation>%1 ne peut pas contenir l&apos;élément %2</translation>
    </message>
    <message>
        <source>a STYLE without a name</source>
        <translation>un STYLE sans nom</translation>
    </message>
    <message>
        <source>line %1, column %2: %3</source>
        <translation>ligne %1, colonne %2 : %3</translation>
    </message>
</context>
<context>
    <name>DStyleView</name>
    <message>
        <source>Style</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Par défaut</translation>
    </message>
    <message>
        <source> pt</source>
        <translation> pt</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Gras</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Italique</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Souligné</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Gauche</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Centré</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Droite</translation>
    </message>
    <message>
        <source>Justify</source>
        <translation>Justifié</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source>AaBbCc 0123 Sample</source>
        <translation>AaBbCc 0123 Exemple</translation>
    </message>
    <message>
        <source>Background:</source>
        <translation>Fond :</translation>
    </message>
    <message>
        <source>Font:</source>
        <translation>Police :</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Taille :</translation>
    </message>
    <message>
        <source>Text color:</source>
        <translation>Couleur du texte :</translation>
    </message>
    <message>
        <source>Alignment:</source>
        <translation>Alignement :</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Marge :</translation>
    </message>
    <message>
        <source>Preview:</source>
        <translation>Aperçu :</translation>
    </message>
</context>
<context>
    <name>DXmlTokenizer</name>
    <message>
        <source>out of memory</source>
        <translation>mémoire insuffisante</translation>
    </message>
    <message>
        <source>no XML element found</source>
        <translation>aucun élément XML trouvé</translation>
    </message>
    <message>
        <source>the input ends before its last element is closed (truncated?)</source>
        <translation>l&apos;entrée se termine avant la fermeture de son dernier élément (tronquée ?)</translation>
    </message>
    <message>
        <source>line %1, column %2: %3</source>
        <translation>ligne %1, colonne %2 : %3</translation>
    </message>
    <message>
        <source>elements nested deeper than %1 levels</source>
        <translation>éléments imbriqués sur plus de %1 niveaux</translation>
    </message>
    <message>
        <source>entity declarations are not allowed: a few can expand a small file into gigabytes</source>
        <translation>les déclarations d&apos;entités ne sont pas admises : quelques-unes peuvent faire d&apos;un petit fichier des gigaoctets</translation>
    </message>
</context>
<context>
    <name>QAColorButton</name>
    <message>
        <source>Select Color</source>
        <translation>Choisir la couleur</translation>
    </message>
</context>
<context>
    <name>QADefectFormDialog</name>
    <message>
        <source>Defect Report</source>
        <translation>Rapport d&apos;anomalie</translation>
    </message>
    <message>
        <source>&amp;File Defect</source>
        <translation>&amp;Enregistrer l&apos;anomalie</translation>
    </message>
    <message>
        <source>&amp;Headline:</source>
        <translation>&amp;Titre :</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>&amp;Description :</translation>
    </message>
    <message>
        <source>Attachment:</source>
        <translation>Pièce jointe :</translation>
    </message>
</context>
<context>
    <name>QADirSelectDialog</name>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Parcourir...</translation>
    </message>
</context>
<context>
    <name>QAJUnitParser</name>
    <message>
        <source>nothing to read</source>
        <translation>rien à lire</translation>
    </message>
    <message>
        <source>no test result found</source>
        <translation>aucun résultat de test trouvé</translation>
    </message>
    <message>
        <source>line %1, column %2: %3</source>
        <translation>ligne %1, colonne %2 : %3</translation>
    </message>
    <message>
        <source>not a JUnit XML file: root element &lt;%1&gt;</source>
        <translation>pas un fichier JUnit XML : élément racine &lt;%1&gt;</translation>
    </message>
</context>
<context>
    <name>QAProgressPulse</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>QARToolBar</name>
    <message>
        <source>Previous Failed Test</source>
        <translation>Test en échec précédent</translation>
    </message>
    <message>
        <source>&lt;b&gt;Previous Failed Test&lt;/b&gt;&lt;br&gt;Move cursor to the previous failed test.</source>
        <translation>&lt;b&gt;Test en échec précédent&lt;/b&gt;&lt;br&gt;Place le curseur sur le test en échec précédent.</translation>
    </message>
    <message>
        <source>Next Failed Test</source>
        <translation>Test en échec suivant</translation>
    </message>
    <message>
        <source>&lt;b&gt;Next Failed Test&lt;/b&gt;&lt;br&gt;Move cursor to the next failed test.</source>
        <translation>&lt;b&gt;Test en échec suivant&lt;/b&gt;&lt;br&gt;Place le curseur sur le test en échec suivant.</translation>
    </message>
    <message>
        <source>All Test Results / Failed Tests Only</source>
        <translation>Tous les résultats / Tests en échec seulement</translation>
    </message>
    <message>
        <source>&lt;b&gt;All Test Results&lt;/b&gt; or &lt;b&gt;Failed Tests Only&lt;/b&gt;&lt;br&gt;Use this button to either display all tests or only failed tests</source>
        <translation>&lt;b&gt;Tous les résultats&lt;/b&gt; ou &lt;b&gt;Tests en échec seulement&lt;/b&gt;&lt;br&gt;Ce bouton affiche tous les tests ou seulement les tests en échec</translation>
    </message>
    <message>
        <source>Test Report Toolbar</source>
        <comment>Tool bar Title</comment>
        <translation>Barre d&apos;outils du rapport de test</translation>
    </message>
</context>
<context>
    <name>QAReporter</name>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>&amp;Go to</source>
        <translation>&amp;Aller à</translation>
    </message>
    <message>
        <source>&amp;Submit Tallyvane Defect Report</source>
        <translation>&amp;Soumettre un rapport d&apos;anomalie Tallyvane</translation>
    </message>
    <message>
        <source> Toolbar</source>
        <translation> - barre d&apos;outils</translation>
    </message>
    <message>
        <source>Test Report Error</source>
        <translation>Erreur du rapport de test</translation>
    </message>
    <message>
        <source>No enought memory to open the report file %1
 due to the report file is too big.
 Change your settings or your test to obtain a lower report file</source>
        <translation>Mémoire insuffisante pour ouvrir le rapport %1
 car il est trop volumineux.
 Modifiez vos réglages ou votre test pour obtenir un rapport plus petit</translation>
    </message>
    <message>
        <source>File(s) not found or corrupted:
</source>
        <translation>Fichier(s) introuvable(s) ou corrompu(s) :
</translation>
    </message>
    <message>
        <source>	</source>
        <translation>	</translation>
    </message>
    <message>
        <source>
</source>
        <translation>
</translation>
    </message>
    <message>
        <source>Test Report</source>
        <translation>Rapport de test</translation>
    </message>
    <message>
        <source>Preparing the report</source>
        <translation>Préparation du rapport</translation>
    </message>
    <message>
        <source>The filtered report is empty. 
Do you want to show all tests instead of filtered report</source>
        <translation>Le rapport filtré est vide. 
Voulez-vous afficher tous les tests au lieu du rapport filtré</translation>
    </message>
    <message>
        <source>&amp;Submit Tallyvane Report</source>
        <translation>&amp;Soumettre un rapport Tallyvane</translation>
    </message>
    <message>
        <source>&amp;Commands</source>
        <translation>&amp;Commandes</translation>
    </message>
    <message>
        <source>All Test Results</source>
        <translation>Tous les résultats de test</translation>
    </message>
    <message>
        <source>Failed Tests Only</source>
        <translation>Tests en échec seulement</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Recharger</translation>
    </message>
    <message>
        <source>Show header</source>
        <translation>Afficher l&apos;en-tête</translation>
    </message>
    <message>
        <source>Print Header</source>
        <translation>Imprimer l&apos;en-tête</translation>
    </message>
    <message>
        <source>Generate HTML</source>
        <translation>Générer le HTML</translation>
    </message>
    <message>
        <source>Display complete report</source>
        <translation>Afficher le rapport complet</translation>
    </message>
    <message>
        <source>Display failed tests only</source>
        <translation>Afficher seulement les tests en échec</translation>
    </message>
    <message>
        <source>Reload the current report</source>
        <translation>Recharger le rapport courant</translation>
    </message>
    <message>
        <source>Generate the viewer&apos;s content to a HTML file</source>
        <translation>Générer le contenu de la visionneuse dans un fichier HTML</translation>
    </message>
    <message>
        <source>Show or hide %1</source>
        <comment> %1 is the menu item name</comment>
        <translation>Afficher ou masquer %1</translation>
    </message>
    <message>
        <source>No such file.</source>
        <translation>Fichier introuvable.</translation>
    </message>
    <message>
        <source>Closing the report</source>
        <translation>Fermeture du rapport</translation>
    </message>
    <message>
        <source>Submit Defect Report Failed ...
</source>
        <translation>Échec de l&apos;envoi du rapport d&apos;anomalie...
</translation>
    </message>
    <message>
        <source>Submit Defect Report ...
</source>
        <translation>Envoi du rapport d&apos;anomalie...
</translation>
    </message>
    <message>
        <source>No nodes selected
</source>
        <translation>Aucun nœud sélectionné
</translation>
    </message>
    <message>
        <source>Stopped.
</source>
        <translation>Arrêté.
</translation>
    </message>
    <message>
        <source>Can&apos;t find data
</source>
        <translation>Données introuvables
</translation>
    </message>
    <message>
        <source>Workspace:  </source>
        <translation>Espace de travail :  </translation>
    </message>
    <message>
        <source>Test:       </source>
        <translation>Test :       </translation>
    </message>
    <message>
        <source>Report file:  </source>
        <translation>Fichier de rapport :  </translation>
    </message>
    <message>
        <source>Item failed:  </source>
        <translation>Élément en échec :  </translation>
    </message>
    <message>
        <source>Item type:   </source>
        <translation>Type d&apos;élément :   </translation>
    </message>
    <message>
        <source>Warning ...
</source>
        <translation>Avertissement...
</translation>
    </message>
    <message>
        <source>Report File</source>
        <translation>Fichier de rapport</translation>
    </message>
    <message>
        <source>Report</source>
        <comment>Default product name to dialogs box.</comment>
        <translation>Rapport</translation>
    </message>
    <message>
        <source>Save %1 Report As</source>
        <comment>%1 is the source file name.</comment>
        <translation>Enregistrer le rapport %1 sous</translation>
    </message>
    <message>
        <source>Source and destination files are the sames.
Please select an other file.</source>
        <translation>Les fichiers source et destination sont identiques.
Veuillez choisir un autre fichier.</translation>
    </message>
    <message>
        <source>The file already exists.
Do you want to overwrite it?</source>
        <translation>Le fichier existe déjà.
Voulez-vous le remplacer ?</translation>
    </message>
    <message>
        <source>The file could not be save.
Please check if you have write permission.</source>
        <translation>Le fichier n&apos;a pas pu être enregistré.
Vérifiez que vous avez le droit d&apos;écriture.</translation>
    </message>
    <message>
        <source>The file could not be save.
Please check if you have read permission.</source>
        <translation>Le fichier n&apos;a pas pu être enregistré.
Vérifiez que vous avez le droit de lecture.</translation>
    </message>
    <message>
        <source>Unable to open the report file &apos;%1&apos;</source>
        <translation>Impossible d&apos;ouvrir le fichier de rapport « %1 »</translation>
    </message>
    <message>
        <source>Export Report to HTML files</source>
        <translation>Exporter le rapport en fichiers HTML</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Interrompre</translation>
    </message>
    <message>
        <source>No report is loaded: %1 was not written.</source>
        <translation>Aucun rapport n&apos;est chargé : %1 n&apos;a pas été écrit.</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Cannot create the folder &apos;%1&apos;</source>
        <translation>Impossible de créer le dossier « %1 »</translation>
    </message>
    <message>
        <source>Failed now, not in the earlier run</source>
        <translation>En échec maintenant, pas dans l&apos;exécution précédente</translation>
    </message>
    <message>
        <source>Compare With Earlier Run</source>
        <translation>Comparer avec une exécution précédente</translation>
    </message>
    <message>
        <source>Reports and results (*.xrd *.xml *.trx *.tap);;All files (*)</source>
        <translation>Rapports et résultats (*.xrd *.xml *.trx *.tap);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>%1 compared with %2</source>
        <translation>%1 comparé à %2</translation>
    </message>
    <message>
        <source>Run History</source>
        <translation>Historique des exécutions</translation>
    </message>
    <message>
        <source>The viewer goes on without the run history.</source>
        <translation>La visionneuse continue sans l&apos;historique des exécutions.</translation>
    </message>
    <message>
        <source>Recording the runs in the history</source>
        <translation>Enregistrement des exécutions dans l&apos;historique</translation>
    </message>
    <message>
        <source>Flaky Tests</source>
        <translation>Tests instables</translation>
    </message>
    <message>
        <source>Compare With...</source>
        <translation>Comparer avec...</translation>
    </message>
    <message>
        <source>Flaky Tests...</source>
        <translation>Tests instables...</translation>
    </message>
    <message>
        <source>%1 (incomplete)</source>
        <translation>%1 (incomplet)</translation>
    </message>
    <message>
        <source>%1 was read only in part: %2
</source>
        <translation>%1 n&apos;a été lu qu&apos;en partie : %2
</translation>
    </message>
    <message>
        <source>Reading was cancelled after %1 of %2.</source>
        <translation>Lecture annulée après %1 sur %2.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2.</source>
        <translation>Le fichier %1 ne peut pas être lu : %2.</translation>
    </message>
</context>
<context>
    <name>QAReporterLoadingBar</name>
    <message>
        <source>Loading</source>
        <translation>Chargement</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Stop reading; what was read so far stays, marked incomplete</source>
        <translation>Arrête la lecture ; ce qui a été lu reste affiché, marqué incomplet</translation>
    </message>
    <message>
        <source>Reading %1</source>
        <translation>Lecture de %1</translation>
    </message>
    <message>
        <source>Preparing the report</source>
        <translation>Préparation du rapport</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
</context>
<context>
    <name>QAReporterPref</name>
    <message>
        <source>Report Viewer</source>
        <comment>Reporter Plugin Preference First Item Title</comment>
        <translation>Visionneuse de rapports</translation>
    </message>
    <message>
        <source>Styles</source>
        <comment>Reporter Plugin Preference Second Item Title</comment>
        <translation>Styles</translation>
    </message>
    <message>
        <source>Run History</source>
        <translation>Historique des exécutions</translation>
    </message>
</context>
<context>
    <name>QAReporterPrefGeneral</name>
    <message>
        <source>Viewer</source>
        <translation>Visionneuse</translation>
    </message>
    <message>
        <source>Background color</source>
        <translation>Couleur de fond</translation>
    </message>
    <message>
        <source>Automatic raise viewer on tree selection changed</source>
        <comment>Check Box Name</comment>
        <translation>Activer la visionneuse quand la sélection de l&apos;arbre change</translation>
    </message>
    <message>
        <source>Report Contents Depth Open</source>
        <translation>Profondeur d&apos;ouverture du rapport</translation>
    </message>
</context>
<context>
    <name>QAReporterPrefHistory</name>
    <message>
        <source>&amp;Record the runs I open in the history</source>
        <translation>&amp;Enregistrer dans l&apos;historique les exécutions que j&apos;ouvre</translation>
    </message>
    <message>
        <source>SQLite file in the user&apos;s data folder</source>
        <translation>Fichier SQLite dans le dossier de données de l&apos;utilisateur</translation>
    </message>
    <message>
        <source>An SQLite file, or a shared PostgreSQL database as postgresql://user@host:port/database (?host=/socket/folder for a local socket).</source>
        <translation>Un fichier SQLite, ou une base PostgreSQL partagée sous la forme postgresql://utilisateur@hôte:port/base (?host=/dossier/du/socket pour un socket local).</translation>
    </message>
    <message>
        <source>&amp;Database:</source>
        <translation>&amp;Base de données :</translation>
    </message>
    <message>
        <source>Runs &amp;looked back on:</source>
        <translation>Exécutions &amp;prises en compte :</translation>
    </message>
    <message>
        <source>The trend of the summary, the flaky tests and the recent results of each failed test come from the history.</source>
        <translation>La tendance du résumé, les tests instables et les résultats récents de chaque test en échec viennent de l&apos;historique.</translation>
    </message>
</context>
<context>
    <name>QAReporterPrefStyles</name>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Normal Failed</source>
        <translation>Normal échec</translation>
    </message>
    <message>
        <source>Normal Passed</source>
        <translation>Normal réussi</translation>
    </message>
    <message>
        <source>Title0</source>
        <translation>Titre0</translation>
    </message>
    <message>
        <source>Title1</source>
        <translation>Titre1</translation>
    </message>
    <message>
        <source>Title1 Failed</source>
        <translation>Titre1 échec</translation>
    </message>
    <message>
        <source>Title1 Passed</source>
        <translation>Titre1 réussi</translation>
    </message>
    <message>
        <source>Title2</source>
        <translation>Titre2</translation>
    </message>
    <message>
        <source>Title2 Failed</source>
        <translation>Titre2 échec</translation>
    </message>
    <message>
        <source>Title2 Passed</source>
        <translation>Titre2 réussi</translation>
    </message>
    <message>
        <source>Title3</source>
        <translation>Titre3</translation>
    </message>
    <message>
        <source>Title3 Failed</source>
        <translation>Titre3 échec</translation>
    </message>
    <message>
        <source>Title3 Passed</source>
        <translation>Titre3 réussi</translation>
    </message>
    <message>
        <source>Title4</source>
        <translation>Titre4</translation>
    </message>
    <message>
        <source>Title4 Failed</source>
        <translation>Titre4 échec</translation>
    </message>
    <message>
        <source>Title4 Passed</source>
        <translation>Titre4 réussi</translation>
    </message>
    <message>
        <source>Title5</source>
        <translation>Titre5</translation>
    </message>
    <message>
        <source>Title5 Failed</source>
        <translation>Titre5 échec</translation>
    </message>
    <message>
        <source>Title5 Passed</source>
        <translation>Titre5 réussi</translation>
    </message>
    <message>
        <source>Title6</source>
        <translation>Titre6</translation>
    </message>
    <message>
        <source>Title6 Failed</source>
        <translation>Titre6 échec</translation>
    </message>
    <message>
        <source>Title6 Passed</source>
        <translation>Titre6 réussi</translation>
    </message>
    <message>
        <source>Array Title</source>
        <translation>Titre de tableau</translation>
    </message>
    <message>
        <source>Array</source>
        <translation>Tableau</translation>
    </message>
    <message>
        <source>Array Failed</source>
        <translation>Tableau échec</translation>
    </message>
    <message>
        <source>Array Passed</source>
        <translation>Tableau réussi</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Lien</translation>
    </message>
</context>
<context>
    <name>QAResReader</name>
    <message>
        <source>the resource file cannot be read</source>
        <translation>le fichier de ressources ne peut pas être lu</translation>
    </message>
    <message>
        <source>line %1, column %2: %3</source>
        <translation>ligne %1, colonne %2 : %3</translation>
    </message>
    <message>
        <source>no resources in the file</source>
        <translation>aucune ressource dans le fichier</translation>
    </message>
    <message>
        <source>not a resource file</source>
        <translation>pas un fichier de ressources</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>resource data</source>
        <translation>données de ressources</translation>
    </message>
</context>
<context>
    <name>QAResWriter</name>
    <message>
        <source>the device is not writable</source>
        <translation>le périphérique n&apos;est pas accessible en écriture</translation>
    </message>
</context>
<context>
    <name>QAResultImporter</name>
    <message>
        <source>The file %1 cannot be read: %2.</source>
        <translation>Le fichier %1 ne peut pas être lu : %2.</translation>
    </message>
    <message>
        <source>%1 is not a test result file in a format this viewer reads.</source>
        <translation>%1 n&apos;est pas un fichier de résultats de test dans un format que ce visualiseur lit.</translation>
    </message>
    <message>
        <source>%1 (%2): %3</source>
        <translation>%1 (%2) : %3</translation>
    </message>
    <message>
        <source>no test run found</source>
        <translation>aucune exécution de tests trouvée</translation>
    </message>
</context>
<context>
    <name>QAResultReportBuilder</name>
    <message>
        <source>Passed in %1</source>
        <translation>Réussi en %1</translation>
    </message>
    <message>
        <source>Failed after %1</source>
        <translation>Échoué après %1</translation>
    </message>
    <message>
        <source>Not run (skipped)</source>
        <translation>Non exécuté (ignoré)</translation>
    </message>
    <message>
        <source>Passed</source>
        <translation>Réussi</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Échoué</translation>
    </message>
    <message>
        <source>host %1</source>
        <translation>hôte %1</translation>
    </message>
    <message>
        <source>Results by suite</source>
        <translation>Résultats par suite</translation>
    </message>
    <message>
        <source>(unnamed)</source>
        <translation>(sans nom)</translation>
    </message>
    <message>
        <source>All suites</source>
        <translation>Toutes les suites</translation>
    </message>
    <message>
        <source>%1 tests (%2 read)</source>
        <translation>%1 tests (%2 lus)</translation>
    </message>
    <message>
        <source>%1 failures and errors (%2 read)</source>
        <translation>%1 échecs et erreurs (%2 lus)</translation>
    </message>
    <message>
        <source>%1 skipped (%2 read)</source>
        <translation>%1 ignorés (%2 lus)</translation>
    </message>
    <message>
        <source>The file claims %1 for %2; the counts shown are those of the cases read.</source>
        <translation>Le fichier annonce %1 pour %2 ; les nombres affichés sont ceux des cas lus.</translation>
    </message>
    <message>
        <source>class %1</source>
        <translation>classe %1</translation>
    </message>
    <message>
        <source>flaky: passed on a rerun after failing</source>
        <translation>instable : réussi à une nouvelle exécution après un échec</translation>
    </message>
    <message>
        <source>At </source>
        <translation>À </translation>
    </message>
    <message>
        <source>Show the details (%1 lines)</source>
        <translation>Afficher le détail (%1 lignes)</translation>
    </message>
    <message>
        <source>Show the standard output</source>
        <translation>Afficher la sortie standard</translation>
    </message>
    <message>
        <source>Show the standard error</source>
        <translation>Afficher la sortie d&apos;erreur</translation>
    </message>
    <message>
        <source>Inconclusive</source>
        <translation>Non concluant</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>Suite</source>
        <translation>Suite</translation>
    </message>
</context>
<context>
    <name>QARunHistory</name>
    <message>
        <source>Cannot open the run history at %1: %2</source>
        <translation>Impossible d&apos;ouvrir l&apos;historique des exécutions %1 : %2</translation>
    </message>
    <message>
        <source>the run history is not open</source>
        <translation>l&apos;historique des exécutions n&apos;est pas ouvert</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>fichier introuvable</translation>
    </message>
    <message>
        <source>Cannot record %1 in the run history: %2</source>
        <translation>Impossible d&apos;enregistrer %1 dans l&apos;historique des exécutions : %2</translation>
    </message>
    <message>
        <source>the database driver gives no PostgreSQL connection</source>
        <translation>le pilote de base de données ne donne pas de connexion PostgreSQL</translation>
    </message>
    <message>
        <source>the PostgreSQL client library (libpq.so.5) cannot be loaded</source>
        <translation>la bibliothèque cliente PostgreSQL (libpq.so.5) ne peut pas être chargée</translation>
    </message>
    <message>
        <source>not a PostgreSQL URL of the form postgresql://[user[:password]@][host][:port]/dbname</source>
        <translation>pas une URL PostgreSQL de la forme postgresql://[utilisateur[:mot_de_passe]@][hôte][:port]/base</translation>
    </message>
    <message>
        <source>the Qt SQL driver QPSQL is not available</source>
        <translation>le pilote Qt SQL QPSQL n&apos;est pas disponible</translation>
    </message>
    <message>
        <source>the Qt SQL driver QSQLITE is not available</source>
        <translation>le pilote Qt SQL QSQLITE n&apos;est pas disponible</translation>
    </message>
    <message>
        <source>the database cannot be opened</source>
        <translation>la base de données ne peut pas être ouverte</translation>
    </message>
    <message>
        <source>its schema version %1 is newer than this program&apos;s (%2)</source>
        <translation>la version %1 de son schéma est plus récente que celle de ce programme (%2)</translation>
    </message>
    <message>
        <source>the database driver gives no SQLite handle</source>
        <translation>le pilote de base de données ne donne pas de descripteur SQLite</translation>
    </message>
</context>
<context>
    <name>QAStReporterPlugin</name>
    <message>
        <source>The Reporter</source>
        <comment>Reporter Plugin Description</comment>
        <translation>Le Reporter</translation>
    </message>
    <message>
        <source>Pelorin Vantrel</source>
        <comment>Reporter Plugin Author</comment>
        <translation>Pelorin Vantrel</translation>
    </message>
    <message>
        <source>Version 1.0.0</source>
        <comment>Reporter Plugin Version</comment>
        <translation>Version 1.0.0</translation>
    </message>
    <message>
        <source>Report</source>
        <comment>Reporter Plugin Extended Filters</comment>
        <translation>Rapport</translation>
    </message>
    <message>
        <source>Test results</source>
        <comment>Reporter Plugin Extended Filters</comment>
        <translation>Résultats de tests</translation>
    </message>
    <message>
        <source>Test Report</source>
        <comment>Test Report Window Title</comment>
        <translation>Rapport de test</translation>
    </message>
    <message>
        <source>Pelorin Vantrel Halvora Report Viewer</source>
        <comment>Plugin Name</comment>
        <translation>Visionneuse de rapports Pelorin Vantrel Halvora</translation>
    </message>
    <message>
        <source>Pelorin Vantrel Halvora Report Viewer Description</source>
        <comment>Plugin Description</comment>
        <translation>Description de la visionneuse de rapports Pelorin Vantrel Halvora</translation>
    </message>
    <message>
        <source>Pelorin Vantrel</source>
        <comment>Plugin Company Name</comment>
        <translation>Pelorin Vantrel</translation>
    </message>
    <message>
        <source>Halvora and Pelorin Vantrel are trademarks of Pelorin Vantrel.</source>
        <comment>Plugin Company Description</comment>
        <translation>Halvora et Pelorin Vantrel sont des marques de Pelorin Vantrel.</translation>
    </message>
    <message>
        <source>Pelorin Vantrel: test reports made readable.</source>
        <comment>Plugin CopyRight</comment>
        <translation>Pelorin Vantrel : des rapports de test enfin lisibles.</translation>
    </message>
    <message>
        <source>Version 1.1.0</source>
        <comment>Plugin Version</comment>
        <translation>Version 1.1.0</translation>
    </message>
</context>
<context>
    <name>QAStViewerWindow</name>
    <message>
        <source>This viewer cannot write its reports to a file.</source>
        <translation>Ce visualiseur ne peut pas écrire ses rapports dans un fichier.</translation>
    </message>
</context>
<context>
    <name>QAViewerFindDialog</name>
    <message>
        <source>Case sensitive</source>
        <translation>Respecter la casse</translation>
    </message>
    <message>
        <source>Regular expression</source>
        <translation>Expression régulière</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Rechercher</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Invalid regular expression at %1: %2</source>
        <translation>Expression régulière invalide à la position %1 : %2</translation>
    </message>
</context>
<context>
    <name>Reporter</name>
    <message>
        <source>Analysing %1</source>
        <translation>Analyse de %1</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>No report to read.</source>
        <translation>Aucun rapport à lire.</translation>
    </message>
    <message>
        <source>No report file name given.</source>
        <translation>Aucun nom de fichier de rapport.</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Le fichier %1 n&apos;existe pas.</translation>
    </message>
    <message>
        <source>%1 is a directory, not a report file.</source>
        <translation>%1 est un répertoire, pas un fichier de rapport.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2.</source>
        <translation>Le fichier %1 ne peut pas être lu : %2.</translation>
    </message>
    <message>
        <source>The report reader has no handler.</source>
        <translation>Le lecteur de rapports n&apos;a pas de gestionnaire.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>Passed</source>
        <translation>Réussi</translation>
    </message>
    <message>
        <source>Inconclusive</source>
        <translation>Non concluant</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Results files</source>
        <translation>Fichiers de résultats</translation>
    </message>
    <message>
        <source>nested XMLROD init element.
</source>
        <translation>élément XMLROD initial imbriqué.
</translation>
    </message>
    <message>
        <source>Xml/ROD, more than one XROD root element.</source>
        <translation>Xml/ROD, plus d&apos;un élément racine XROD.</translation>
    </message>
    <message>
        <source>Xml/ROD, NODE element outside the XROD root element.</source>
        <translation>Xml/ROD, élément NODE hors de l&apos;élément racine XROD.</translation>
    </message>
    <message>
        <source>Xml/ROD, unvalable name attribute.
</source>
        <translation>Xml/ROD, attribut name invalide.
</translation>
    </message>
    <message>
        <source>Xml/ROD, unvalable type attribute.
</source>
        <translation>Xml/ROD, attribut type invalide.
</translation>
    </message>
    <message>
        <source>unvalable stack elements.
</source>
        <translation>éléments de pile invalides.
</translation>
    </message>
    <message>
        <source>This is not a report: its root element is %1, the root element of a report is &lt;XROD&gt;.</source>
        <translation>Ce n&apos;est pas un rapport : son élément racine est %1, l&apos;élément racine d&apos;un rapport est &lt;XROD&gt;.</translation>
    </message>
    <message>
        <source>%1 is not a report: its root element is %2, the root element of a report is &lt;XROD&gt;.</source>
        <translation>%1 n&apos;est pas un rapport : son élément racine est %2, l&apos;élément racine d&apos;un rapport est &lt;XROD&gt;.</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2.</source>
        <translation>%1 ne peut pas être écrit : %2.</translation>
    </message>
    <message>
        <source>%1 was not written: %2</source>
        <translation>%1 n&apos;a pas été écrit : %2</translation>
    </message>
    <message>
        <source>the report would nest elements %1 levels deep, deeper than the %2 levels a report may have</source>
        <translation>le rapport imbriquerait des éléments sur %1 niveaux, plus que les %2 niveaux qu&apos;un rapport peut avoir</translation>
    </message>
    <message>
        <source>the output failed</source>
        <translation>l&apos;écriture a échoué</translation>
    </message>
    <message>
        <source>no test node is in state &quot;%1&quot;: its total of %2 is not kept</source>
        <translation>aucun nœud de test n&apos;est dans l&apos;état « %1 » : son total de %2 n&apos;est pas conservé</translation>
    </message>
    <message>
        <source>the report would nest elements deeper than the %1 levels a report may have</source>
        <translation>le rapport imbriquerait des éléments sur plus des %1 niveaux qu&apos;un rapport peut avoir</translation>
    </message>
    <message>
        <source>New failures</source>
        <translation>Nouveaux échecs</translation>
    </message>
    <message>
        <source>Fixed</source>
        <translation>Corrigés</translation>
    </message>
    <message>
        <source>Still failing</source>
        <translation>Toujours en échec</translation>
    </message>
    <message>
        <source>Newly inconclusive</source>
        <translation>Nouvellement non concluants</translation>
    </message>
    <message>
        <source>Added</source>
        <translation>Ajoutés</translation>
    </message>
    <message>
        <source>Removed</source>
        <translation>Supprimés</translation>
    </message>
    <message>
        <source>passed</source>
        <translation>réussi</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>en échec</translation>
    </message>
    <message>
        <source>inconclusive</source>
        <translation>non concluant</translation>
    </message>
    <message>
        <source>Earlier</source>
        <translation>Précédente</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Actuelle</translation>
    </message>
    <message>
        <source>absent</source>
        <translation>absent</translation>
    </message>
    <message>
        <source>Message changed, was: %1
Now: %2</source>
        <translation>Message modifié, avant : %1
Maintenant : %2</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Comparison</source>
        <translation>Comparaison</translation>
    </message>
    <message>
        <source>Comparison of two runs</source>
        <translation>Comparaison de deux exécutions</translation>
    </message>
    <message>
        <source>Earlier run: %1</source>
        <translation>Exécution précédente : %1</translation>
    </message>
    <message>
        <source>Current run: %1</source>
        <translation>Exécution actuelle : %1</translation>
    </message>
    <message>
        <source>Failures by cause</source>
        <translation>Échecs par cause</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 en échec : %2</translation>
    </message>
    <message>
        <source>(no message)</source>
        <translation>(pas de message)</translation>
    </message>
    <message>
        <source>For example: %1</source>
        <translation>Par exemple : %1</translation>
    </message>
    <message>
        <source>Earlier: %1
</source>
        <translation>Précédente : %1
</translation>
    </message>
    <message>
        <source>Current: %1
</source>
        <translation>Actuelle : %1
</translation>
    </message>
    <message>
        <source> (message changed)</source>
        <translation> (message modifié)</translation>
    </message>
    <message>
        <source>%1 failed: %2
</source>
        <translation>%1 en échec : %2
</translation>
    </message>
    <message>
        <source>  for example: %1
</source>
        <translation>  par exemple : %1
</translation>
    </message>
    <message>
        <source>Trend of the last %1 runs</source>
        <translation>Tendance des %1 dernières exécutions</translation>
    </message>
    <message>
        <source>Test cases per run</source>
        <translation>Cas de test par exécution</translation>
    </message>
    <message>
        <source>run</source>
        <translation>exécution</translation>
    </message>
    <message>
        <source>cases</source>
        <translation>cas</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Exécution</translation>
    </message>
    <message>
        <source>Flaky tests</source>
        <translation>Tests instables</translation>
    </message>
    <message>
        <source>Flaky tests of the last %1 runs</source>
        <translation>Tests instables des %1 dernières exécutions</translation>
    </message>
    <message>
        <source>No test both passed and failed in these runs.</source>
        <translation>Aucun test n&apos;a à la fois réussi et échoué dans ces exécutions.</translation>
    </message>
    <message>
        <source>Tests that both passed and failed, the most flaky (the most runs of their rarer outcome) first.</source>
        <translation>Les tests qui ont à la fois réussi et échoué, les plus instables (le plus d&apos;exécutions de leur résultat le plus rare) en premier.</translation>
    </message>
    <message>
        <source>Pass rate</source>
        <translation>Taux de réussite</translation>
    </message>
    <message>
        <source>Failed in</source>
        <translation>En échec dans</translation>
    </message>
    <message>
        <source>No flaky test in the last %1 runs.
</source>
        <translation>Aucun test instable dans les %1 dernières exécutions.
</translation>
    </message>
    <message>
        <source>%1  pass rate %2 (%3 passed, %4 failed)
</source>
        <translation>%1  taux de réussite %2 (%3 réussis, %4 en échec)
</translation>
    </message>
    <message>
        <source>  failed in: %1
</source>
        <translation>  en échec dans : %1
</translation>
    </message>
    <message>
        <source>Recent runs: %1</source>
        <translation>Exécutions récentes : %1</translation>
    </message>
    <message>
        <source>never passed in the history</source>
        <translation>n&apos;a jamais réussi dans l&apos;historique</translation>
    </message>
    <message>
        <source>last passed in %1</source>
        <translation>a réussi pour la dernière fois dans %1</translation>
    </message>
    <message>
        <source>Recorded %1: %2 passed, %3 failed
</source>
        <translation>%1 enregistré : %2 réussis, %3 en échec
</translation>
    </message>
    <message>
        <source>Already recorded: %1
</source>
        <translation>Déjà enregistré : %1
</translation>
    </message>
</context>
<context>
    <name>XrdCommandLine</name>
    <message>
        <source>xrdview: no node type &quot;%1&quot; in the reports; their types: %2</source>
        <translation>xrdview : aucun type de nœud « %1 » dans les rapports ; leurs types : %2</translation>
    </message>
    <message>
        <source>xrdview: the HTML export into %1 is incomplete</source>
        <translation>xrdview : l&apos;export HTML dans %1 est incomplet</translation>
    </message>
    <message>
        <source>xrdview: HTML written into %1</source>
        <translation>xrdview : HTML écrit dans %1</translation>
    </message>
    <message>
        <source>xrdview: %1 was not written: a report could not be read</source>
        <translation>xrdview : %1 n&apos;a pas été écrit : un rapport n&apos;a pas pu être lu</translation>
    </message>
    <message>
        <source>xrdview: wrote %1 from 1 report</source>
        <translation>xrdview : %1 écrit à partir d&apos;un rapport</translation>
    </message>
    <message>
        <source>xrdview: wrote %1 from %2 reports</source>
        <translation>xrdview : %1 écrit à partir de %2 rapports</translation>
    </message>
    <message>
        <source>xrdview: the plug-in offers no report session</source>
        <translation>xrdview : le module n&apos;offre pas de session de rapports</translation>
    </message>
    <message>
        <source>xrdview: nothing written into %1: no report could be read</source>
        <translation>xrdview : rien n&apos;a été écrit dans %1 : aucun rapport n&apos;a pu être lu</translation>
    </message>
    <message>
        <source>xrdview: HTML written into %1 without the reports that could not be read</source>
        <translation>xrdview : HTML écrit dans %1, sans les rapports qui n&apos;ont pas pu être lus</translation>
    </message>
    <message>
        <source>the plug-in offers no report session</source>
        <translation>le module n&apos;offre pas de session de rapports</translation>
    </message>
</context>
<context>
    <name>XrdMainWindow</name>
    <message>
        <source>%1: cancelled. The report is still read to its end, since the reader cannot stop in the middle of a file; the progress is no longer shown.
</source>
        <translation>%1 : annulé. Le rapport est tout de même lu jusqu&apos;au bout, car la lecture ne peut pas s&apos;arrêter au milieu d&apos;un fichier ; la progression n&apos;est plus affichée.
</translation>
    </message>
    <message>
        <source>Outline</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Sortie</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Ouvrir...</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Ouvrir un fichier ré&amp;cent</translation>
    </message>
    <message>
        <source>Re&amp;load</source>
        <translation>&amp;Recharger</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Enregistrer &amp;sous...</translation>
    </message>
    <message>
        <source>&amp;Export HTML...</source>
        <translation>&amp;Exporter en HTML...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimer...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Rechercher...</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>Rechercher le &amp;suivant</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Outils</translation>
    </message>
    <message>
        <source>&amp;Preferences...</source>
        <translation>&amp;Préférences...</translation>
    </message>
    <message>
        <source>Pa&amp;nes</source>
        <translation>Pa&amp;nneaux</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos</translation>
    </message>
    <message numerus="yes">
        <source> (+%n)</source>
        <translation>
            <numerusform> (+%n)</numerusform>
            <numerusform> (+%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Source file not found: %1
</source>
        <translation>Fichier source introuvable : %1
</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1: %2
</source>
        <translation>Les réglages n&apos;ont pas pu être enregistrés dans %1 : %2
</translation>
    </message>
    <message>
        <source>&lt;h3&gt;xrdview %1&lt;/h3&gt;&lt;p&gt;A viewer for XROD test reports.&lt;/p&gt;&lt;p&gt;&lt;b&gt;%2&lt;/b&gt; %3&lt;br&gt;%4&lt;/p&gt;&lt;p&gt;%5&lt;br&gt;%6&lt;/p&gt;&lt;p&gt;%7&lt;/p&gt;&lt;p&gt;Qt %8&lt;/p&gt;</source>
        <translation>&lt;h3&gt;xrdview %1&lt;/h3&gt;&lt;p&gt;Un visualiseur de rapports de test XROD.&lt;/p&gt;&lt;p&gt;&lt;b&gt;%2&lt;/b&gt; %3&lt;br&gt;%4&lt;/p&gt;&lt;p&gt;%5&lt;br&gt;%6&lt;/p&gt;&lt;p&gt;%7&lt;/p&gt;&lt;p&gt;Qt %8&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About xrdview</source>
        <translation>À propos de xrdview</translation>
    </message>
    <message>
        <source>Open Reports</source>
        <translation>Ouvrir des rapports</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Source file not found: %1</source>
        <translation>Fichier source introuvable : %1</translation>
    </message>
    <message>
        <source>Open a report with File &gt; Open (%1) or drop files here.</source>
        <translation>Ouvrez un rapport avec Fichier &gt; Ouvrir (%1) ou déposez des fichiers ici.</translation>
    </message>
    <message>
        <source>Find Pre&amp;vious</source>
        <translation>Rechercher le &amp;précédent</translation>
    </message>
    <message>
        <source>Co&amp;mpare With...</source>
        <translation>Co&amp;mparer avec...</translation>
    </message>
</context>
<context>
    <name>XrdPreferencesDialog</name>
    <message>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
</context>
<context>
    <name>XrdProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>xrdview</name>
    <message>
        <source>Try &apos;xrdview --help&apos; for more information.
</source>
        <translation>Essayez « xrdview --help » pour plus d&apos;informations.
</translation>
    </message>
    <message>
        <source>the viewer plug-in was not found; tried:
  %1</source>
        <translation>le module de visualisation est introuvable ; essayé :
  %1</translation>
    </message>
    <message>
        <source>cannot load the plug-in %1: %2</source>
        <translation>impossible de charger le module %1 : %2</translation>
    </message>
    <message>
        <source>%1 is not a viewer plug-in</source>
        <translation>%1 n&apos;est pas un module de visualisation</translation>
    </message>
    <message>
        <source>the plug-in %1 was built for another host (build key &quot;%2&quot;)</source>
        <translation>le module %1 a été construit pour un autre hôte (clé de construction « %2 »)</translation>
    </message>
    <message>
        <source>the plug-in %1 offers no viewer</source>
        <translation>le module %1 n&apos;offre aucune fenêtre de visualisation</translation>
    </message>
    <message>
        <source> (named by XRD_PLUGIN)</source>
        <translation> (désigné par XRD_PLUGIN)</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>ce n&apos;est pas un fichier</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>fichier introuvable</translation>
    </message>
    <message>
        <source>Shows XROD test reports in a window, or prints them for scripts and CI.
With files and no option, opens them in one viewer window.
Exit status of --summary and --tree: 0 all passed, 1 a test failed,
2 a file could not be read, or a usage error.
Exit status of --convert: 0 written, 2 a file could not be read or
the output could not be written, or a usage error.
Exit status of --compare: 0 no new failure, 1 a test fails that did
not fail in EARLIER, 2 a file could not be read, or a usage error.</source>
        <translation>Affiche des rapports de test XROD dans une fenêtre, ou les imprime pour les scripts et l&apos;intégration continue.
Avec des fichiers et sans option, les ouvre dans une même fenêtre de visualisation.
Code de sortie de --summary et --tree : 0 tout a réussi, 1 un test a échoué,
2 un fichier n&apos;a pas pu être lu, ou erreur d&apos;utilisation.
Code de sortie de --convert : 0 écrit, 2 un fichier n&apos;a pas pu être lu ou
la sortie n&apos;a pas pu être écrite, ou erreur d&apos;utilisation.
Code de sortie de --compare : 0 aucun nouvel échec, 1 un test échoue qui
n&apos;échouait pas dans EARLIER, 2 un fichier n&apos;a pas pu être lu, ou erreur d&apos;utilisation.</translation>
    </message>
    <message>
        <source>Print the passed and failed totals of the files.</source>
        <translation>Afficher les totaux de tests réussis et en échec des fichiers.</translation>
    </message>
    <message>
        <source>Name of the test node printed by --summary.</source>
        <translation>Nom du nœud de test affiché par --summary.</translation>
    </message>
    <message>
        <source>Print the report tree, one item a line.</source>
        <translation>Afficher l&apos;arbre du rapport, un élément par ligne.</translation>
    </message>
    <message>
        <source>Write the reports as HTML into DIR.</source>
        <translation>Écrire les rapports en HTML dans DIR.</translation>
    </message>
    <message>
        <source>Write the files as one XROD report OUT.</source>
        <translation>Écrire les fichiers en un seul rapport XROD OUT.</translation>
    </message>
    <message>
        <source>Compare the run of the files with the earlier run EARLIER: new failures, fixed, still failing, newly inconclusive, added and removed tests.</source>
        <translation>Comparer l&apos;exécution des fichiers avec l&apos;exécution précédente EARLIER : nouveaux échecs, corrigés, toujours en échec, nouvellement non concluants, tests ajoutés et supprimés.</translation>
    </message>
    <message>
        <source>Print the failed tests of the files grouped by cause.</source>
        <translation>Afficher les tests en échec des fichiers, regroupés par cause.</translation>
    </message>
    <message>
        <source>Record the runs of the files in the run history.</source>
        <translation>Enregistrer les exécutions des fichiers dans l&apos;historique des exécutions.</translation>
    </message>
    <message>
        <source>Print the tests that both passed and failed in the last runs of the run history.</source>
        <translation>Afficher les tests qui ont à la fois réussi et échoué dans les dernières exécutions de l&apos;historique.</translation>
    </message>
    <message>
        <source>With --flaky: the number of runs to look back on (default 10).</source>
        <translation>Avec --flaky : le nombre d&apos;exécutions prises en compte (10 par défaut).</translation>
    </message>
    <message>
        <source>With --record or --flaky: the run history&apos;s store, an SQLite file or postgresql://USER@HOST:PORT/DATABASE (default: an SQLite file in the user&apos;s data folder).</source>
        <translation>Avec --record ou --flaky : le stockage de l&apos;historique des exécutions, un fichier SQLite ou postgresql://USER@HOST:PORT/DATABASE (par défaut : un fichier SQLite dans le dossier de données de l&apos;utilisateur).</translation>
    </message>
    <message>
        <source>With --tree or --export-html: failed tests only.</source>
        <translation>Avec --tree ou --export-html : seulement les tests en échec.</translation>
    </message>
    <message>
        <source>With --tree: hide the nodes of TYPE (repeatable).</source>
        <translation>Avec --tree : masquer les nœuds de type TYPE (répétable).</translation>
    </message>
    <message>
        <source>Load the viewer plug-in from PATH and no other (default: $XRD_PLUGIN, else the built or installed one).</source>
        <translation>Charger le module de visualisation depuis PATH et aucun autre (par défaut : $XRD_PLUGIN, sinon celui construit ou installé).</translation>
    </message>
    <message>
        <source>Report files (*.xrd).</source>
        <translation>Fichiers de rapport (*.xrd).</translation>
    </message>
    <message>
        <source>--convert needs an output file name</source>
        <translation>--convert demande un nom de fichier de sortie</translation>
    </message>
    <message>
        <source>--convert would write over its input %1</source>
        <translation>--convert écraserait son entrée %1</translation>
    </message>
    <message>
        <source>--summary, --tree, --export-html, --convert, --compare, --group, --record and --flaky exclude each other</source>
        <translation>--summary, --tree, --export-html, --convert, --compare, --group, --record et --flaky s&apos;excluent mutuellement</translation>
    </message>
    <message>
        <source>--last needs --flaky</source>
        <translation>--last demande --flaky</translation>
    </message>
    <message>
        <source>--history needs --record or --flaky</source>
        <translation>--history demande --record ou --flaky</translation>
    </message>
    <message>
        <source>--failed-only needs --tree or --export-html</source>
        <translation>--failed-only demande --tree ou --export-html</translation>
    </message>
    <message>
        <source>--hide-type needs --tree</source>
        <translation>--hide-type demande --tree</translation>
    </message>
    <message>
        <source>--test-node needs --summary</source>
        <translation>--test-node demande --summary</translation>
    </message>
    <message>
        <source>--last needs a number of runs of 2 or more</source>
        <translation>--last demande un nombre d&apos;exécutions de 2 ou plus</translation>
    </message>
    <message>
        <source>--flaky reads no report file</source>
        <translation>--flaky ne lit aucun fichier de rapport</translation>
    </message>
    <message>
        <source>no report file given</source>
        <translation>aucun fichier de rapport donné</translation>
    </message>
</context>
</TS>
