<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_ALL_DELETED</source>
        <translation>The messages were deleted.</translation>
    </message>
    <message>
        <source>IDS_STR_ALL_MOVED</source>
        <translation>The messages were moved.</translation>
    </message>
    <message>
        <source>IDS_STR_ALL_COPIED</source>
        <translation>The messages were copied.</translation>
    </message>
    <message>
        <source>IDS_STR_ALL_RESTORED</source>
        <translation>The messages were restored.</translation>
    </message>
    <message>
        <source>IDS_STR_CALL_TITLE</source>
        <translation>Call</translation>
    </message>
    <message>
        <source>IDS_STR_SAVENUMBER_TITLE</source>
        <translation>Save Number</translation>
    </message>
    <message>
        <source>IDS_STR_EXPORT_TITLE</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>IDS_STR_OPENLINK_TITLE</source>
        <translation>Open Link</translation>
    </message>
</context>
</TS>
