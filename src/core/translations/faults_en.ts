<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>dialcrest</name>
    <message>
        <source>IDS_HOST_STORE_FAILED</source>
        <translation>The message database cannot be used:
%1

The file was left where it is. Until it can be used, no message can be saved or received.</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_IO_ERROR</source>
        <translation>The disk reported an error while reading or writing the message database:
%1

The file was left where it is. Check the disk; until the error is gone no message can be saved or received.</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_LOCKED</source>
        <translation>Another program is using the message database:
%1

Close the other copy of the application. Until then no message can be saved or received.</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_MOVED</source>
        <translation>The message database was damaged and could not be read. It was moved to:
%1

A new, empty database was started. Keep the old file if you want to try to recover its messages.</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_MOVED_TITLE</source>
        <translation>Message database damaged</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_NO_PERMISSION</source>
        <translation>The message database may not be written:
%1

Give your user write access to that folder, or start the application with --data and a folder you may write. Until then no message can be saved or received.</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_NO_SPACE</source>
        <translation>The disk that holds the message database is full:
%1

Free some space on that disk. Until then no message can be saved or received; the messages saved so far are kept.</translation>
    </message>
    <message>
        <source>IDS_HOST_SETTINGS_MOVED</source>
        <translation>The settings file was damaged and could not be read. It was moved to:
%1

The default settings are used; change them again where you had changed them. Keep the old file if you want to look into it.</translation>
    </message>
    <message>
        <source>IDS_HOST_SETTINGS_MOVED_TITLE</source>
        <translation>Settings damaged</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_TITLE</source>
        <translation>Messages cannot be saved</translation>
    </message>
</context>
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_SMS_STORAGE_FAILED</source>
        <translation>The message database cannot be used: messages cannot be saved, and new messages are not received.</translation>
    </message>
    <message>
        <source>IDS_SMS_STORAGE_IO_ERROR</source>
        <translation>The disk reports errors: messages cannot be saved, and new messages are not received until the errors are gone.</translation>
    </message>
    <message>
        <source>IDS_SMS_STORAGE_LOCKED</source>
        <translation>Another program is using the message database: messages cannot be saved, and new messages are not received until it lets go.</translation>
    </message>
    <message>
        <source>IDS_SMS_STORAGE_NO_PERMISSION</source>
        <translation>The data folder cannot be written: messages cannot be saved, and new messages are not received until it can.</translation>
    </message>
    <message>
        <source>IDS_SMS_STORAGE_NO_SPACE</source>
        <translation>The disk is full: messages cannot be saved, and new messages are not received until there is room again.</translation>
    </message>
</context>
</TS>
