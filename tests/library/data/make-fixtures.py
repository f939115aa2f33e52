#!/usr/bin/env python3
"""Writes the hand-edited data files the preservation test reads, and for each the file
as it must be after one sentence is corrected: only that field's bytes change.
Run once from this folder; the outputs are kept in git."""

def cp932(text):
    return text.encode('cp932')

def utf8(text):
    return text.encode('utf-8')

def utf16le(text):
    return b'\xff\xfe' + text.encode('utf-16-le')

def utf16be(text):
    return b'\xfe\xff' + text.encode('utf-16-be')

NEW = '直した文。'

def write(name, data, old_field, new_field):
    """old_field/new_field: the bytes of the corrected field as they appear in the file."""
    with open(name + '.txt', 'wb') as f:
        f.write(data)
    assert data.count(old_field) == 1, name
    with open(name + '.corrected.txt', 'wb') as f:
        f.write(data.replace(old_field, new_field))

# UTF-16 with its byte order mark, both byte orders.
text = '"学習について"\r\n"５教科","全体","ほめたい","理解力あり。"\r\n"国語","読む","ほめたい","音読が上手です。"\r\n'
write('utf16le', utf16le(text), '"音読が上手です。"'.encode('utf-16-le'), f'"{NEW}"'.encode('utf-16-le'))
write('utf16be', utf16be(text), '"音読が上手です。"'.encode('utf-16-be'), f'"{NEW}"'.encode('utf-16-be'))

# A UTF-8 file into which one line in Shift_JIS was pasted: read as code page 932.
data = (utf8('"学習について"\r\n"５教科","全体","ほめたい","理解力あり。"\r\n')
        + cp932('"国語","読む","ほめたい","音読が上手です。"\r\n')
        + utf8('"算数","計算","ほめたい","計算が速い。"\r\n'))
write('utf8-one-sjis-line', data, cp932('"音読が上手です。"'), cp932(f'"{NEW}"'))

# Stray bytes no encoding reads (0x80, 0xA0, 0xFD), one in a class field.
data = (cp932('"学習について"\r\n"５教科","全体","ほめたい","理解力')
        + b'\x80' + cp932('あり。"\r\n"国') + b'\xa0' + cp932('語","読む","ほめたい","音読') + b'\xfd'
        + cp932('です。"\r\n"算数","計算","ほめたい","計算が速い。"\r\n'))
write('stray-bytes', data, cp932('"計算が速い。"'), cp932(f'"{NEW}"'))

# A literal U+FFFD in a UTF-8 file.
data = utf8('"学習について"\r\n"５教科","全体","ほめたい","理解力\ufffdあり。"\r\n"国語","読む","ほめたい","音読が上手です。"\r\n')
write('literal-fffd', data, utf8('"音読が上手です。"'), utf8(f'"{NEW}"'))

# Doubled quotes, as a spreadsheet writes a quote inside a text.
data = cp932('"日常生活について"\r\n"友達","会話","ほめたい","彼は""こんにちは""と言った"\r\n"係","仕事","ほめたい","よく働く。"\r\n')
write('doubled-quotes', data, cp932('"よく働く。"'), cp932(f'"{NEW}"'))

# Lines of three and five fields: the fields of later records shift.
data = cp932('"学習について"\r\n"５教科","全体","理解力あり。"\r\n"国語","読む","ほめたい","音読が上手です。","余分"\r\n"算数","計算","ほめたい","計算が速い。"\r\n')
write('field-counts', data, cp932('"音読が上手です。"'), cp932(f'"{NEW}"'))

# Lone LF line ends, and a mix of CR LF, LF and CR, and no line end at the end.
data = cp932('"学習について"\n"５教科","全体","ほめたい","理解力あり。"\n"国語","読む","ほめたい","音読が上手です。"\n')
write('lf-only', data, cp932('"音読が上手です。"'), cp932(f'"{NEW}"'))
data = cp932('"学習について"\r\n"５教科","全体","ほめたい","理解力あり。"\n"国語","読む","ほめたい","音読が上手です。"\r"算数","計算",,"計算が速い。"')
write('mixed-line-ends', data, cp932('"音読が上手です。"'), cp932(f'"{NEW}"'))

# Unquoted fields with blanks before them, an empty place, and a sentence over two lines.
data = cp932('学習について\r\n ５教科, 全体,,"理解力あり。\r\nよく考えます。"\r\n国語,読む,ほめたい,音読が上手です。\r\n')
write('bare-fields', data, cp932('音読が上手です。'), cp932(f'"{NEW}"'))
