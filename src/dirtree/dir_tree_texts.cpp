#include "dirtree/dir_tree_texts.h"

#include <array>
#include <cstddef>

namespace dirtree {
namespace {

using Table = std::array<const char*, std::size_t(Text::Count)>;

// Rows in the order of the Text enumeration.
const Table kEnglish = {
    "&New Folder", "&Rename Folder", "&Delete Folder", "Cu&t", "&Copy", "&Paste", "Tree &Size",
    "&Folder Contents", "&Map Network Drive ...", "Dis&Connect Network Drive", "&Property",
    "Computer",
    "There is no disk in Drive or Drive is not ready", "Error - Invalid Directory Name",
    "Do you want to rename the selected folder", "From  : ", "To     : ",
    "The folder could not be renamed:",
    "ERROR - ", "Can't add drives", "not found", "Do you want to move this folder to the trash?",
    "The folder could not be moved to the trash:", "File operation failed",
    "TREE SIZE", "Drive ", "Folder", "and all its Sub-Folders ", "Bytes", "     (i.e. ", "KB", "MB",
    "Counting the files in",
    "Files in ", "LeftClick - Select\nDblClick  - Open", "&OK", "ERROR - Can't Open file %1",
    "Address of the network folder\n(smb://, sftp://, ftp://, dav://):",
    "Not a valid network address:",
    "This system offers no network mounting (the gio command is missing).",
    "The network drive could not be connected:", "Network drive to disconnect:",
    "No network drive is connected.", "The network drive could not be disconnected:", "Cancel",
    "Properties", "Path:", "Type:", "Drive", "Folder", "Size:", "Contains:", "%1 files, %2 folders",
    "Owner:", "Permissions:", "Modified:", "&Close",
    "&Yes", "&No",
};

const Table kGerman = {
    "&Neuer Ordner", "Ordner &umbenennen", "Ordner &löschen", "&Ausschneiden", "&Kopieren",
    "&Einfügen", "&Baumgröße", "Ordner&inhalt", "Netzlaufwerk &verbinden ...",
    "Netzlaufwerk &trennen", "Ei&genschaften",
    "Computer",
    "Im Laufwerk ist kein Datenträger oder das Laufwerk ist nicht bereit",
    "Fehler - Ungültiger Verzeichnisname", "Wollen Sie den gewählten Ordner umbenennen",
    "Von   : ", "Nach   : ", "Der Ordner konnte nicht umbenannt werden:",
    "FEHLER - ", "Laufwerke können nicht hinzugefügt werden", "nicht gefunden",
    "Wollen Sie diesen Ordner in den Papierkorb verschieben?",
    "Der Ordner konnte nicht in den Papierkorb verschoben werden:",
    "Dateioperation fehlgeschlagen",
    "BAUMGRÖSSE", "Laufwerk ", "Ordner", "und alle Unterordner ", "Bytes", "     (d. h. ", "KB", "MB",
    "Die Dateien werden gezählt in",
    "Dateien in ", "Linksklick - Auswählen\nDoppelklick - Öffnen", "&OK", "FEHLER - Die Datei %1 kann nicht geöffnet werden",
    "Adresse des Netzwerkordners\n(smb://, sftp://, ftp://, dav://):",
    "Keine gültige Netzwerkadresse:",
    "Dieses System bietet kein Einbinden von Netzwerkordnern (der Befehl gio fehlt).",
    "Das Netzlaufwerk konnte nicht verbunden werden:", "Zu trennendes Netzlaufwerk:",
    "Es ist kein Netzlaufwerk verbunden.", "Das Netzlaufwerk konnte nicht getrennt werden:",
    "Abbrechen",
    "Eigenschaften", "Pfad:", "Typ:", "Laufwerk", "Ordner", "Größe:", "Inhalt:",
    "%1 Dateien, %2 Ordner", "Besitzer:", "Rechte:", "Geändert:", "&Schließen",
    "&Ja", "&Nein",
};

const Table kFrench = {
    "&Nouveau dossier", "&Renommer le dossier", "&Supprimer le dossier", "Co&uper", "&Copier",
    "C&oller", "&Taille de l'arborescence", "Contenu du &dossier",
    "Connecter un lecteur r&éseau ...", "Déconnecter un &lecteur réseau", "&Propriétés",
    "Ordinateur",
    "Il n'y a pas de disque dans le lecteur ou le lecteur n'est pas prêt",
    "Erreur - Nom de dossier invalide", "Voulez-vous renommer le dossier sélectionné",
    "De    : ", "Vers   : ", "Le dossier n'a pas pu être renommé :",
    "ERREUR - ", "Impossible d'ajouter des lecteurs", "introuvable",
    "Voulez-vous mettre ce dossier à la corbeille ?",
    "Le dossier n'a pas pu être mis à la corbeille :", "L'opération sur les fichiers a échoué",
    "TAILLE DE L'ARBORESCENCE", "Lecteur ", "Dossier", "et tous ses sous-dossiers ", "octets",
    "     (soit ", "Ko", "Mo",
    "Comptage des fichiers dans",
    "Fichiers dans ", "Clic gauche - Sélectionner\nDouble-clic - Ouvrir", "&OK", "ERREUR - Impossible d'ouvrir le fichier %1",
    "Adresse du dossier réseau\n(smb://, sftp://, ftp://, dav://) :",
    "Adresse réseau invalide :",
    "Ce système ne permet pas de monter des dossiers réseau (la commande gio manque).",
    "Le lecteur réseau n'a pas pu être connecté :", "Lecteur réseau à déconnecter :",
    "Aucun lecteur réseau n'est connecté.", "Le lecteur réseau n'a pas pu être déconnecté :",
    "Annuler",
    "Propriétés", "Chemin :", "Type :", "Lecteur", "Dossier", "Taille :", "Contenu :",
    "%1 fichiers, %2 dossiers", "Propriétaire :", "Droits :", "Modifié :", "&Fermer",
    "&Oui", "&Non",
};

const Table kSpanish = {
    "&Nueva carpeta", "Cambiar no&mbre", "&Eliminar carpeta", "Cor&tar", "&Copiar", "&Pegar",
    "Tamaño del á&rbol", "&Ver contenido", "Conectar unidad de re&d ...",
    "De&sconectar unidad de red", "Pr&opiedades",
    "Equipo",
    "No hay ningún disco en la unidad o la unidad no está preparada",
    "Error - Nombre de carpeta no válido", "¿Desea cambiar el nombre de la carpeta seleccionada?",
    "De    : ", "A      : ", "No se pudo cambiar el nombre de la carpeta:",
    "ERROR - ", "No se pueden añadir unidades", "no encontrado",
    "¿Desea mover esta carpeta a la papelera?",
    "No se pudo mover la carpeta a la papelera:", "Falló la operación de archivos",
    "TAMAÑO DEL ÁRBOL", "Unidad ", "Carpeta", "y todas sus subcarpetas ", "Bytes",
    "     (es decir, ", "KB", "MB",
    "Contando los archivos de",
    "Archivos en ", "Clic izquierdo - Seleccionar\nDoble clic - Abrir", "&Aceptar",
    "ERROR - No se puede abrir el archivo %1",
    "Dirección de la carpeta de red\n(smb://, sftp://, ftp://, dav://):",
    "Dirección de red no válida:",
    "Este sistema no permite montar carpetas de red (falta la orden gio).",
    "No se pudo conectar la unidad de red:", "Unidad de red a desconectar:",
    "No hay ninguna unidad de red conectada.", "No se pudo desconectar la unidad de red:",
    "Cancelar",
    "Propiedades", "Ruta:", "Tipo:", "Unidad", "Carpeta", "Tamaño:", "Contiene:",
    "%1 archivos, %2 carpetas", "Propietario:", "Permisos:", "Modificado:", "&Cerrar",
    "&Sí", "&No",
};

const Table kPortuguese = {
    "&Nova pasta", "&Renomear pasta", "&Excluir pasta", "Recor&tar", "&Copiar", "Co&lar",
    "Tamanho da &árvore", "Conteú&do da pasta", "&Mapear unidade de rede ...",
    "De&sconectar unidade de rede", "&Propriedades",
    "Computador",
    "Não há disco na unidade ou a unidade não está pronta", "Erro - Nome de pasta inválido",
    "Deseja renomear a pasta selecionada", "De    : ", "Para   : ",
    "Não foi possível renomear a pasta:",
    "ERRO - ", "Não é possível adicionar unidades", "não encontrado",
    "Deseja mover esta pasta para a lixeira?",
    "Não foi possível mover a pasta para a lixeira:", "A operação de arquivo falhou",
    "TAMANHO DA ÁRVORE", "Unidade ", "Pasta", "e todas as suas subpastas ", "Bytes",
    "     (ou seja, ", "KB", "MB",
    "Contando os arquivos de",
    "Arquivos em ", "Clique - Selecionar\nClique duplo - Abrir", "&OK", "ERRO - Não é possível abrir o arquivo %1",
    "Endereço da pasta de rede\n(smb://, sftp://, ftp://, dav://):",
    "Endereço de rede inválido:",
    "Este sistema não oferece montagem de pastas de rede (falta o comando gio).",
    "Não foi possível conectar a unidade de rede:", "Unidade de rede a desconectar:",
    "Nenhuma unidade de rede está conectada.", "Não foi possível desconectar a unidade de rede:",
    "Cancelar",
    "Propriedades", "Caminho:", "Tipo:", "Unidade", "Pasta", "Tamanho:", "Contém:",
    "%1 arquivos, %2 pastas", "Proprietário:", "Permissões:", "Modificado:", "&Fechar",
    "&Sim", "&Não",
};

const Table& TableOf(TLanguage language) {
  switch (language) {
    case lnFrench: return kFrench;
    case lnGerman: return kGerman;
    case lnSpanish: return kSpanish;
    case lnPortuguese: return kPortuguese;
    default: return kEnglish;
  }
}

}  // namespace

TLanguage ResolveLanguage(TLanguage language, QLocale::Language system) {
  if (language != lnSysDefault) return language;
  switch (system) {
    case QLocale::German: return lnGerman;
    case QLocale::Spanish: return lnSpanish;
    case QLocale::French: return lnFrench;
    case QLocale::Portuguese: return lnPortuguese;
    default: return lnEnglish;
  }
}

QString Tr(TLanguage language, Text text) {
  const char* s = TableOf(ResolveLanguage(language, QLocale::system().language()))[std::size_t(text)];
  return s ? QString::fromUtf8(s) : QString();
}

}  // namespace dirtree
