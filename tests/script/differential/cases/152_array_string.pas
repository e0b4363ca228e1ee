var names: array[1..4] of string;
  i: Integer;
  all: string;
begin
  names[1] := 'Pabc';
  names[2] := 'Ua';
  names[3] := '';
  names[4] := 'COSavr';
  all := '';
  for i := 1 to 4 do
    all := all + '[' + names[i] + ']';
  PrintLn(all);
  names[3] := names[1] + names[2];
  PrintLn(names[3]);
  PrintLn(Length(names[4]));
  PrintLn(UpperCase(names[4]));
end.
