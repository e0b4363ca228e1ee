begin
  PrintLn(QuotedStr('abc'));
  PrintLn(QuotedStr('it''s'));
  PrintLn(QuotedStr(''));
  PrintLn(QuotedStr(''''));
  PrintLn(QuotedStr('a''b''c'));
  Print('length '); PrintLn(Length(QuotedStr('it''s')));
end.
