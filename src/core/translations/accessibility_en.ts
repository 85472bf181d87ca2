<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_ACC_FOLDERS</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>IDS_ACC_FOLDERS_DESC</source>
        <translation>Message folders on this computer, the card and the modem</translation>
    </message>
    <message>
        <source>IDS_ACC_PREVIEW</source>
        <translation>Message preview</translation>
    </message>
    <message>
        <source>IDS_ACC_MESSAGES</source>
        <translation>%1: messages</translation>
    </message>
    <message>
        <source>IDS_ACC_MESSAGES_DESC</source>
        <translation>Name or number, text and time of each message</translation>
    </message>
    <message>
        <source>IDS_ACC_RECIPIENTS</source>
        <translation>Recipients</translation>
    </message>
    <message>
        <source>IDS_ACC_RECIPIENTS_DESC</source>
        <translation>Phone numbers separated by ;</translation>
    </message>
    <message>
        <source>IDS_ACC_MESSAGE_TEXT</source>
        <translation>Message text</translation>
    </message>
    <message>
        <source>IDS_ACC_COUNT</source>
        <translation>Characters and message parts</translation>
    </message>
    <message>
        <source>IDS_ACC_SENDTO_DESC</source>
        <translation>Choose recipients from the address book</translation>
    </message>
    <message>
        <source>IDS_ACC_FLASH_TEXT</source>
        <translation>Flash message</translation>
    </message>
</context>
<context>
    <name>dialcrest</name>
    <message>
        <source>IDS_ACC_SETTINGS_PAGES</source>
        <translation>Settings pages</translation>
    </message>
    <message>
        <source>IDS_ACC_CONTACTS</source>
        <translation>Contacts</translation>
    </message>
    <message>
        <source>IDS_ACC_PAGES</source>
        <translation>Pages</translation>
    </message>
</context>
</TS>
