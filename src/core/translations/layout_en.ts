<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en_US">
<context>
    <name>dialcrest</name>
    <message>
        <source>IDS_HOST_WHY_FULL</source>
        <translation>the storage is full</translation>
    </message>
    <message>
        <source>IDS_HOST_WHY_NODEVICE</source>
        <translation>the modem is unplugged</translation>
    </message>
    <message>
        <source>IDS_HOST_WHY_NOSIM</source>
        <translation>no SIM card is inserted</translation>
    </message>
    <message>
        <source>IDS_HOST_WHY_FLIGHT</source>
        <translation>flight mode is on</translation>
    </message>
    <message>
        <source>IDS_HOST_WHY_NOTREADY</source>
        <translation>the storage is still starting up</translation>
    </message>
    <message>
        <source>IDS_HOST_WHY_OTHER</source>
        <translation>the modem refused (error %1)</translation>
    </message>
    <message>
        <source>IDS_HOST_NOT_DONE</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>IDS_HOST_NOT_RECEIVED</source>
        <translation>No message received</translation>
    </message>
    <message>
        <source>IDS_HOST_NOT_FILLED</source>
        <translation>Storage not filled</translation>
    </message>
    <message>
        <source>IDS_HOST_NOT_RESTORED</source>
        <translation>Storage capacities not restored</translation>
    </message>
    <message>
        <source>IDS_HOST_NEED_SENDER</source>
        <translation>Enter who the message is from.</translation>
    </message>
    <message>
        <source>IDS_HOST_BAD_SENDER</source>
        <translation>The sender is a phone number or a name of up to 11 letters.</translation>
    </message>
    <message>
        <source>IDS_HOST_NEED_TEXT</source>
        <translation>Enter the text of the message.</translation>
    </message>
</context>
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_NOBROWSER</source>
        <translation>No web browser could open %1.</translation>
    </message>
    <message>
        <source>IDS_LST_EMPTYFOLDER</source>
        <translation>No messages in this folder</translation>
    </message>
</context>
</TS>
