<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>heliora_widgets</name>
    <message id="gallery_title">
        <source>Heliora Widgets</source>
        <translation>Heliora-Widgets</translation>
    </message>
    <message id="gallery_hint">
        <source>Choose a widget and a size, then add it to the desktop. Drag a widget to move it; its menu removes it.</source>
        <translation>Wählen Sie ein Widget und eine Größe und legen Sie es auf den Schreibtisch. Ziehen Sie ein Widget, um es zu verschieben; sein Menü entfernt es.</translation>
    </message>
    <message id="add_widget">
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message id="remove_widget">
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message id="open_heliora">
        <source>Open Heliora</source>
        <translation>Heliora öffnen</translation>
    </message>
    <message id="show_gallery">
        <source>Add Widgets…</source>
        <translation>Widgets hinzufügen …</translation>
    </message>
    <message id="family_small">
        <source>Small</source>
        <translation>Klein</translation>
    </message>
    <message id="family_medium">
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message id="family_large">
        <source>Large</source>
        <translation>Groß</translation>
    </message>
</context>
</TS>
